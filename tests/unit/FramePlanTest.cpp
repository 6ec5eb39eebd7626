#include "video/FramePlan.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

using Shown = FramePlan::Shown;

struct PlanCase {
    const char* what;
    int fps;
    // The times of passes 1, 2, 3, ...
    std::vector<double> passTimes;
    std::vector<Shown> shown;
};

std::vector<double> steps(int count, double seconds) {
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        times.push_back(i * seconds);
    }
    return times;
}

} // namespace

TEST(FramePlan, EachFrameShowsTheLastPassShownAtOrBeforeIt) {
    const std::vector<PlanCase> cases = {
        {"one pass a frame", 60, steps(4, 1.0 / 60.0), {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
        {"five passes a frame: only every fifth is drawn",
         60,
         steps(11, 1.0 / 300.0),
         {{1, 1}, {6, 1}, {11, 1}}},
        {"half as many passes as frames: each pass twice",
         60,
         steps(3, 1.0 / 30.0),
         {{1, 2}, {2, 2}, {3, 1}}},
        {"passes at one time: the last of them", 60, {0.0, 0.0, 0.0, 0.5}, {{3, 30}, {4, 1}}},
        {"a freeze holds its picture", 30, {0.0, 0.01, 1.01}, {{1, 1}, {2, 30}, {3, 1}}},
        {"a late first pass stands for the frames before it", 10, {0.35, 0.4}, {{1, 4}, {2, 1}}},
        {"a time before the last counts as the last",
         10,
         {0.0, 0.5, 0.2, 0.6},
         {{1, 5}, {3, 1}, {4, 1}}},
        {"a time on a frame's time shows that frame", 10, {0.0, 0.1 + 0.2}, {{1, 3}, {2, 1}}},
        {"a last time before the one ahead is held as that one",
         10,
         {0.0, 0.5, 0.2},
         {{1, 5}, {3, 1}}},
        {"passes between frames show on none", 10, {0.0, 0.02, 0.05, 0.1}, {{1, 1}, {4, 1}}},
    };
    for (const PlanCase& test : cases) {
        FramePlan plan(test.fps);
        for (std::size_t i = 0; i < test.passTimes.size(); ++i) {
            EXPECT_TRUE(plan.addPass(i + 1, test.passTimes[i])) << test.what;
        }
        plan.finish();
        EXPECT_EQ(plan.shown(), test.shown) << test.what;
        std::uint64_t frames = 0;
        for (const Shown& shown : test.shown) {
            frames += shown.frames;
        }
        EXPECT_EQ(plan.frameCount(), frames) << test.what;
        EXPECT_DOUBLE_EQ(plan.durationSeconds(), static_cast<double>(frames) / test.fps)
            << test.what;
    }
}

TEST(FramePlan, RefusesAVideoLongerThanItsLimitOrATimeThatIsNoNumber) {
    for (double late : {FramePlan::kLongestSeconds + 1.0, std::nan(""), 1.0 / 0.0}) {
        FramePlan plan(60);
        EXPECT_TRUE(plan.addPass(1, 0.0));
        EXPECT_FALSE(plan.addPass(2, late)) << late;
        EXPECT_FALSE(plan.addPass(3, 1.0)) << "a refused plan takes nothing more";
        plan.finish();
        EXPECT_EQ(plan.frameCount(), 0u);
    }
    FramePlan longest(1);
    EXPECT_TRUE(longest.addPass(1, 0.0));
    EXPECT_TRUE(longest.addPass(2, FramePlan::kLongestSeconds));
}
