#include <gtest/gtest.h>
#include "render/Camera.h"
TEST(CameraBuild, Links) { Camera c; EXPECT_EQ(c.distance, 13.0f); }
