#include "audio/MixPacer.h"

#include <gtest/gtest.h>

namespace {

constexpr double kRate = MixPacer::kFramesPerSecond;
constexpr double kLeadSeconds = static_cast<double>(MixPacer::kLeadFrames) / kRate;
// A wall clock as a page reads it: seconds since the page opened, no round number.
constexpr double kOpened = 1234.5678;
constexpr double kSixtyHertz = 1.0 / 60.0;

} // namespace

// Catches the mix rendered only up to the wall clock or falling behind it, and wall times turned
// into frames pump by pump, which loses or doubles a fraction of a frame at each pump: over a
// minute of pumps that are no whole number of frames apart, hundreds of frames.
TEST(MixPacer, KeepsTheLeadOverTheWallClockWhileThePlayerPlaysNothing) {
    const std::vector<double> schedules[] = {
        {kSixtyHertz}, {0.010}, {0.0073, 0.0231, 0.0119}, {0.000011}};
    for (const std::vector<double>& intervals : schedules) {
        SCOPED_TRACE(intervals.front());
        MixPacer pacer(kOpened);
        std::int64_t rendered = 0;
        double wall = kOpened;
        for (std::size_t pump = 0; wall < kOpened + 60.0 && pump < 200000; ++pump) {
            wall += intervals[pump % intervals.size()];
            rendered += pacer.framesDue(rendered, wall, std::nullopt);
            ASSERT_NEAR(static_cast<double>(rendered), (wall - kOpened + kLeadSeconds) * kRate,
                        1.0);
        }
    }
}

// Catches the missed seconds rendered at once after a stall (a hidden tab), or caught up pump by
// pump: every later sound would be heard that much late.
TEST(MixPacer, AfterAStallRendersNoMoreThanTheCapAndThenKeepsTime) {
    for (const double stallSeconds : {0.3, 60.0}) {
        SCOPED_TRACE(stallSeconds);
        MixPacer pacer(kOpened);
        std::int64_t rendered = pacer.framesDue(0, kOpened, std::nullopt);
        double wall = kOpened + stallSeconds;
        const std::int64_t afterStall = pacer.framesDue(rendered, wall, std::nullopt);
        EXPECT_EQ(afterStall, MixPacer::kMostFramesAtOnce);
        rendered += afterStall;
        for (int pump = 0; pump < 60; ++pump) {
            const std::int64_t due = pacer.framesDue(rendered, wall += kSixtyHertz, std::nullopt);
            ASSERT_NEAR(static_cast<double>(due), kSixtyHertz * kRate, 1.0) << pump;
            rendered += due;
        }
    }
}
