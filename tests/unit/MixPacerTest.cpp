#include "audio/MixPacer.h"
#include "unit/SimulatedMixPlayer.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr double kRate = MixPacer::kFramesPerSecond;
constexpr double kLeadSeconds = static_cast<double>(MixPacer::kLeadFrames) / kRate;
// A wall clock as a page reads it: seconds since the page opened, not a round number.
constexpr double kOpened = 1234.5678;
constexpr double kSixtyHertz = 1.0 / 60.0;

double framesOf(double seconds) {
    return seconds * kRate;
}

// The mix as a page pumps it: what is due is rendered (silence will do) and handed to the player.
class PacedRun {
  public:
    PacedRun(SimulatedMixPlayer& player, double start) : pacer_(start), player_(player) {}

    std::int64_t pump(double wall) {
        player_.setWall(wall);
        const std::int64_t due = pacer_.framesDue(rendered, wall, player_.queuedSeconds());
        if (due > 0) {
            player_.queue(std::vector<std::int16_t>(static_cast<std::size_t>(due) * 2));
        }
        rendered += due;
        return due;
    }

    std::int64_t rendered = 0;

  private:
    MixPacer pacer_;
    SimulatedMixPlayer& player_;
};

} // namespace

// Catches the mix rendered only up to the wall clock (no lead) or falling behind it, and wall
// times rounded to frames pump by pump, which loses or doubles a fraction of a frame at every
// pump: over a minute of a loop whose frames are no whole number of samples, hundreds of frames.
TEST(MixPacer, KeepsTheLeadOverTheWallClockWhileThePlayerPlaysNothing) {
    struct Case {
        const char* name;
        std::vector<double> intervals;
    };
    const Case cases[] = {
        {"a 60 Hz loop", {kSixtyHertz}},
        {"10 ms slices of a freeze", {0.010}},
        {"uneven frames", {0.0073, 0.0231, 0.0119}},
        {"pumps within one sample", {0.000011}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        SimulatedMixPlayer player;
        PacedRun run(player, kOpened);
        double wall = kOpened;
        for (std::size_t pump = 0; wall < kOpened + 60.0 && pump < 200000; ++pump) {
            wall += test.intervals[pump % test.intervals.size()];
            run.pump(wall);
            const double expected = framesOf(wall - kOpened + kLeadSeconds);
            ASSERT_NEAR(static_cast<double>(run.rendered), expected, 1.0) << "pump " << pump;
        }
    }
}

// Catches the missed seconds rendered at once after a stall (a hidden tab) and queued, or caught
// up pump by pump, so that every later sound is heard seconds late.
TEST(MixPacer, AfterAStallRendersNoMoreThanTheCapAndThenKeepsTime) {
    struct Case {
        const char* name;
        double stallSeconds;
        bool playing;
    };
    const Case cases[] = {
        {"a long frame, nothing playing", 0.3, false},
        {"a hidden tab, nothing playing", 60.0, false},
        {"a long frame, playing", 0.3, true},
        {"a hidden tab, playing", 60.0, true},
    };
    const double after = framesOf(kSixtyHertz) + 1.0;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        SimulatedMixPlayer player;
        player.setPlaying(test.playing);
        PacedRun run(player, kOpened);
        double wall = kOpened;
        for (int pump = 0; pump < 60; ++pump) {
            run.pump(wall += kSixtyHertz);
        }
        EXPECT_LE(run.pump(wall += test.stallSeconds), MixPacer::kMostFramesAtOnce);
        for (int pump = 0; pump < 60; ++pump) {
            ASSERT_LE(static_cast<double>(run.pump(wall += kSixtyHertz)), after) << pump;
        }
    }
}

// Catches rendering past the lead when the player still has plenty queued: every frame queued
// beyond the lead delays the next sound the game starts by as much.
TEST(MixPacer, TopsUpWhatThePlayerHasQueuedToTheLeadAndNoFurther) {
    const double queued[] = {0.0, 0.05, kLeadSeconds - 0.001, kLeadSeconds, 0.5, 3.0};
    for (const double seconds : queued) {
        SCOPED_TRACE(seconds);
        MixPacer pacer(kOpened);
        // The wall clock far ahead of the mix, as after the page's loop was held up: what the
        // player holds, not the time, says what is due.
        const std::int64_t rendered = 10 * static_cast<std::int64_t>(kRate);
        const std::int64_t due = pacer.framesDue(rendered, kOpened + 30.0, seconds);
        EXPECT_NEAR(framesOf(seconds) + static_cast<double>(due),
                    std::max(framesOf(seconds), framesOf(kLeadSeconds)), 1.0);
    }
}

// Catches pacing by the wall clock alone while the player plays: a player clock a little slow
// queues ever more (each sound later than the last), a fast one runs dry over and over.
// And when it stops, a wall clock account not kept to the player's renders a burst or nothing.
TEST(MixPacer, KeepsToThePlayersClockWhileItPlaysAndToTheWallAfter) {
    const double clockRates[] = {0.98, 1.0, 1.02};
    for (const double clockRate : clockRates) {
        SCOPED_TRACE(clockRate);
        SimulatedMixPlayer player(clockRate);
        player.setPlaying(true);
        PacedRun run(player, kOpened);
        double wall = kOpened;
        for (int pump = 0; pump < 60 * 60; ++pump) {
            run.pump(wall += kSixtyHertz);
            const double queued = player.queuedSeconds().value();
            ASSERT_GT(queued, 0.0) << pump;
            ASSERT_LE(queued, kLeadSeconds + SimulatedMixPlayer::kRestartDelaySeconds) << pump;
        }
        const SimulatedMixPlayer::Block& last = player.played.back();
        EXPECT_NEAR(player.played.front().start + static_cast<double>(run.rendered) / kRate,
                    last.start + static_cast<double>(last.frames) / kRate, 1e-6)
            << "the player ran dry";
        player.setPlaying(false);
        for (int pump = 0; pump < 60; ++pump) {
            ASSERT_NEAR(static_cast<double>(run.pump(wall += kSixtyHertz)), framesOf(kSixtyHertz),
                        1.0)
                << pump;
        }
    }
}
