#include "scene/DebugMessageLimiter.h"

#include <gtest/gtest.h>

namespace {

struct Step {
    const char* message;
    double seconds;
    bool shown;
    long summarized;
};

} // namespace

TEST(DebugMessageLimiter, ShowsEachMessageAFewTimesThenSummarizesAtMostOnceASecond) {
    const std::vector<Step> steps = {
        {"a", 0.0, true, 0},  {"a", 0.1, true, 0},   {"a", 0.2, true, 0},
        {"a", 0.3, false, 0}, // repeats are counted from here
        {"b", 0.4, true, 0},  // another message still has its own first showings
        {"a", 0.5, false, 0}, {"b", 0.6, true, 0},   {"b", 0.7, true, 0},
        {"b", 0.8, false, 0}, {"a", 1.29, false, 0}, // not yet a second since counting began
        {"a", 1.3, false, 5},                        // the second is up: a, a, b, a and this one
        {"a", 1.4, false, 0}, {"b", 2.39, false, 0}, {"a", 2.4, false, 3},
        {"c", 9.0, true, 0},
    };
    DebugMessageLimiter limiter;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE("step " + std::to_string(i));
        const DebugMessageLimiter::Verdict verdict =
            limiter.onMessage(steps[i].message, steps[i].seconds);
        EXPECT_EQ(steps[i].shown, verdict.show);
        EXPECT_EQ(steps[i].summarized, verdict.summarizedRepeats);
    }
    EXPECT_EQ(0, limiter.takeUnreportedRepeats());
    limiter.onMessage("a", 9.1);
    limiter.onMessage("a", 9.2);
    EXPECT_EQ(2, limiter.takeUnreportedRepeats());
    EXPECT_EQ(0, limiter.takeUnreportedRepeats());
}

TEST(DebugMessageLimiter, MessagesThatDifferEveryTimeShareOneCountBeyondTheTable) {
    DebugMessageLimiter limiter;
    int shown = 0;
    const int messages = static_cast<int>(DebugMessageLimiter::kDistinctMessages) + 100;
    for (int i = 0; i < messages; ++i) {
        shown += limiter.onMessage("object " + std::to_string(i), 0.0).show ? 1 : 0;
    }
    EXPECT_EQ(DebugMessageLimiter::kDistinctMessages + DebugMessageLimiter::kTimesShown,
              static_cast<std::size_t>(shown));
    EXPECT_EQ(100 - DebugMessageLimiter::kTimesShown, limiter.takeUnreportedRepeats());
}
