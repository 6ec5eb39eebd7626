// The game's mixer paced for a player handed the mix in blocks. Faults caught: blocks that overlap
// or leave gaps, an action of the game that never reaches the mixer or lands elsewhere than on
// the first frame of the next block, a sound never rendered or heard later than the lead, pacing
// by the wall clock alone (under which a player clock a little slow queues ever more and a fast
// one runs dry), and, while the player plays nothing: a mix held back, one that no longer keeps
// to the time the player had reached, wall times turned into frames pump by pump (which loses or
// doubles a fraction of a frame at each pump), and the seconds missed in a stall rendered at once
// or caught up pump by pump (every later sound would be heard that much late).
#include "audio/PacedMixer.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace {

constexpr double kRate = OfflineMixer::kFramesPerSecond;
// A wall clock as a page reads it: seconds since the page opened, no round number.
constexpr double kOpened = 1234.5678;
constexpr double kRestartDelay = 0.02;

// A browser's player as audio.js drives one: blocks played back to back on a clock of its own,
// which may run a little fast or slow against the wall clock; a queue that ran dry starts again a
// little after now; what it is given while it is not playing is dropped.
struct Player : MixSink {
    double wall = 0.0;
    double clockRate = 1.0;
    bool playing = false;
    double nextStart = 0.0;
    // When the last block given starts to be heard.
    double lastStart = 0.0;
    int ranDry = 0;
    // Every frame given, played or dropped, in order.
    std::vector<std::int16_t> given;

    double now() const { return wall * clockRate; }
    std::optional<double> queuedSeconds() override {
        return playing ? std::optional(std::max(nextStart - now(), 0.0)) : std::nullopt;
    }
    void queue(std::span<const std::int16_t> stereo) override {
        given.insert(given.end(), stereo.begin(), stereo.end());
        if (!playing) {
            nextStart = 0.0;
            return;
        }
        // The first block after a pause (nextStart 0) finds the queue empty without running dry.
        ranDry += nextStart > 0.0 && nextStart <= now();
        lastStart = nextStart > now() ? nextStart : now() + kRestartDelay;
        nextStart = lastStart + static_cast<double>(stereo.size() / 2) / kRate;
    }
};

// What the game asks between two pumps, by pump; whether it played a sound.
bool actAt(int pump, SoundOutput& output) {
    if (pump % 50 == 3) {
        output.play(0);
        return true;
    }
    if (pump == 10) {
        output.loop(1);
    } else if (pump == 140 || pump == 145) {
        output.toggleMute();
    } else if (pump == 400) {
        output.stopLoop();
    }
    return false;
}

// The game's own sounds: sound 0, a jump, is played; sound 1, the meadow, looped.
void load(SoundOutput& output) {
    std::ostringstream errors;
    for (const char* name : {"jump.wav", "meadow.wav"}) {
        const auto path = std::filesystem::path(CHRONOCELL_SOURCE_DIR) / "assets" / "sounds" / name;
        output.load(path.string(), errors);
    }
    ASSERT_EQ(errors.str(), "");
}

} // namespace

TEST(PacedMixer, TheMixGoesStraightThroughIsHeardWithinTheLeadAndKeepsTime) {
    const double latestHeard = static_cast<double>(MixPacer::kLeadFrames) / kRate + kRestartDelay;
    const auto mostAtOnce = static_cast<double>(MixPacer::kMostFramesAtOnce);
    const double stoppedIntervals[] = {0.0073, 0.0231, 0.0119};
    // The player's clock keeping time with the wall clock, running slow and running fast.
    for (const double clockRate : {1.0, 0.98, 1.02}) {
        SCOPED_TRACE(clockRate);
        Player player;
        player.clockRate = clockRate;
        PacedMixer paced(1.0f, player, kOpened);
        OfflineMixer straight(1.0f);
        load(paced);
        load(straight);
        std::vector<std::int16_t> expected;
        std::optional<std::pair<std::size_t, double>> soundAsked;
        std::size_t givenAtStop = 0;
        double framesSinceStop = 0.0;
        // Nine seconds of play at 60 Hz, then a stop.
        for (int pump = 0; pump < 600; ++pump) {
            actAt(pump, straight);
            if (actAt(pump, paced)) {
                ASSERT_FALSE(soundAsked) << "the sound asked before was never rendered";
                soundAsked = {player.given.size() / 2, player.now()};
            }
            player.playing = pump < 540;
            double interval = 1.0 / 60.0;
            if (!player.playing) {
                // Slices of a frozen page, no whole number of frames apart, and a hidden tab's
                // stall: each adds its frames, the stall no more than the most at once.
                interval = stoppedIntervals[pump % 3] + (pump == 570 ? 5.0 : 0.0);
                givenAtStop = pump == 540 ? player.given.size() / 2 : givenAtStop;
                framesSinceStop += std::min(interval * kRate, mostAtOnce);
            }
            paced.pump((player.wall += interval) + kOpened);
            if (!player.playing) {
                ASSERT_NEAR(static_cast<double>(player.given.size() / 2 - givenAtStop),
                            framesSinceStop, 1.0)
                    << "keeping to the wall clock at pump " << pump;
            }
            if (soundAsked && player.given.size() / 2 > soundAsked->first) {
                if (player.playing) {
                    ASSERT_LE(player.lastStart - soundAsked->second, latestHeard + 1e-9) << pump;
                }
                soundAsked.reset();
            }
            // The straight mix catches up with what was given, so that the next action lands on
            // the same frame in both.
            expected.resize(player.given.size());
            straight.render(std::span(expected).subspan(straight.renderedFrames() * 2));
        }
        EXPECT_EQ(player.ranDry, 0);
        EXPECT_TRUE(player.given == expected);
    }
}
