#include "app/Startup.h"
#include "game/Settings.h"

#include <gtest/gtest.h>

TEST(FitWindowToScreen, OnlyASideLargerThanTheScreenIsBroughtDown) {
    Settings settings;
    settings.width = 16384;
    settings.height = 600;
    fitWindowToScreen(settings, 1024, 768);
    EXPECT_EQ(settings.width, 1024);
    EXPECT_EQ(settings.height, 600);

    settings.width = 1024;
    settings.height = 769;
    fitWindowToScreen(settings, 1024, 768);
    EXPECT_EQ(settings.width, 1024);
    EXPECT_EQ(settings.height, 768);

    // A screen of unknown size leaves the window as asked.
    settings.width = 5000;
    fitWindowToScreen(settings, 0, -1);
    EXPECT_EQ(settings.width, 5000);
    EXPECT_EQ(settings.height, 768);
}
