#include <gtest/gtest.h>
TEST(GlBuild, Runs) { SUCCEED(); }
