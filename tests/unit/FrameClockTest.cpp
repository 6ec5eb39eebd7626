#include "game/FrameClock.h"

#include <gtest/gtest.h>

TEST(FrameClock, LongFrameCountsDownOneSecondAndTheNextFramesCatchUp) {
    FrameClock clock;
    clock.tick(2.5);
    EXPECT_EQ(89, clock.remainingSeconds);
    EXPECT_EQ(1, clock.secondsElapsed);
    EXPECT_FLOAT_EQ(2.5f, clock.deltaTime);
    clock.tick(2.51);
    EXPECT_EQ(88, clock.remainingSeconds);
    clock.tick(2.52);
    EXPECT_EQ(88, clock.remainingSeconds) << "caught up: two whole seconds have passed";
}

TEST(FrameClock, FrameRateWindowClosesAtOneSecond) {
    FrameClock clock;
    double now = 0.0;
    int closedWindows = 0;
    for (int frame = 0; frame < 25; ++frame) {
        now += 0.1;
        clock.tick(now);
        if (clock.closedFpsWindow()) {
            ++closedWindows;
            EXPECT_GE(frame, 8) << "the window must not close before a second has gathered";
        }
    }
    EXPECT_EQ(2, closedWindows);
    EXPECT_EQ(10, clock.displayedFps);
    EXPECT_GT(clock.fpsAccumulator, 0.0) << "only the closing frame leaves exactly zero";
}

TEST(FrameClock, DisplayedRateStaysZeroUntilTheFirstWindowCloses) {
    FrameClock clock;
    clock.tick(0.5);
    clock.tick(0.9);
    EXPECT_EQ(0, clock.displayedFps);
    EXPECT_EQ(2, clock.frameCount);
}

TEST(FrameClock, RemeasureKeepsThePauseOutOfTheNextFrame) {
    FrameClock clock;
    clock.tick(5.0);
    clock.tick(5.02);
    const double accumulated = clock.fpsAccumulator;
    clock.remeasure(6.02);
    EXPECT_NEAR(1.0, clock.deltaTime, 1e-5);
    EXPECT_NEAR(accumulated + 1.0, clock.fpsAccumulator, 1e-5);
    clock.tick(6.04);
    EXPECT_NEAR(0.02f, clock.deltaTime, 1e-4f) << "the next frame's time excludes the pause";
    EXPECT_EQ(0.0, clock.fpsAccumulator) << "the pause still counts towards the rate window";
}
