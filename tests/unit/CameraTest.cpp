#include "render/Camera.h"
#include <gtest/gtest.h>
TEST(CameraBuild, Links) {
    Camera c;
    EXPECT_EQ(c.distance, 13.0f);
}
