#include "audio/PacedMixer.h"
#include "unit/ScratchFile.h"
#include "unit/SimulatedMixPlayer.h"
#include "unit/TestWav.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

namespace {

constexpr double kRate = OfflineMixer::kFramesPerSecond;
constexpr double kOpened = 1234.5678;
constexpr double kSixtyHertz = 1.0 / 60.0;
constexpr double kLeadSeconds = static_cast<double>(MixPacer::kLeadFrames) / kRate;

// Stereo frames, each unlike its neighbours and never silent, so a frame lost, doubled or moved
// shows in the mix.
std::vector<std::int16_t> distinctFrames(std::size_t frames, int step) {
    std::vector<std::int16_t> stereo;
    for (std::size_t frame = 0; frame < frames; ++frame) {
        const auto value = static_cast<std::int16_t>(1 + static_cast<int>(frame % 2000) * step);
        stereo.insert(stereo.end(), {value, static_cast<std::int16_t>(-value)});
    }
    return stereo;
}

enum class Action { None, Play, Loop, StopLoop, ToggleMute };

// The sounds every test mixes: a short one played, a longer one looped.
class Sounds {
  public:
    Sounds() {
        writeWav(shortFile_, distinctFrames(5000, 3), 2);
        writeWav(loopFile_, distinctFrames(30000, 5), 2);
    }
    ~Sounds() {
        std::filesystem::remove(shortFile_);
        std::filesystem::remove(loopFile_);
    }

    void load(SoundOutput& output) {
        std::ostringstream errors;
        shortSound_ = output.load(shortFile_.string(), errors);
        loopSound_ = output.load(loopFile_.string(), errors);
        ASSERT_EQ(errors.str(), "");
    }

    void act(SoundOutput& output, Action action) const {
        switch (action) {
        case Action::Play:
            return output.play(shortSound_);
        case Action::Loop:
            return output.loop(loopSound_);
        case Action::StopLoop:
            return output.stopLoop();
        case Action::ToggleMute:
            return output.toggleMute();
        case Action::None:
            return;
        }
    }

  private:
    std::filesystem::path shortFile_ = scratchFile("paced-short.wav");
    std::filesystem::path loopFile_ = scratchFile("paced-loop.wav");
    SoundOutput::Sound shortSound_ = SoundOutput::kNoSound;
    SoundOutput::Sound loopSound_ = SoundOutput::kNoSound;
};

// What the game asks between two pumps, by pump.
Action actionAt(int pump) {
    switch (pump) {
    case 3:
    case 70:
        return Action::Play;
    case 10:
        return Action::Loop;
    case 40:
    case 45:
        return Action::ToggleMute;
    case 60:
        return Action::StopLoop;
    default:
        return Action::None;
    }
}

} // namespace

// Catches blocks that overlap or leave gaps between pumps, a block queued at its old size or
// twice, the mix held back while the player plays nothing, and an action of the game that never
// reaches the mixer or lands elsewhere than the first frame of the next block.
TEST(PacedMixer, TheBlocksQueuedAreTheMixRenderedStraightThrough) {
    struct Case {
        const char* name;
        double interval;
        int playingFrom;
        int stallAt;
    };
    const Case cases[] = {
        {"a 60 Hz loop, playing", kSixtyHertz, 0, -1},
        {"10 ms slices of a freeze, playing", 0.010, 0, -1},
        {"a key pressed in the middle", kSixtyHertz, 30, -1},
        {"a stall while looping", kSixtyHertz, 0, 20},
        {"a stall before any key", kSixtyHertz, 1000, 20},
    };
    Sounds sounds;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        SimulatedMixPlayer player;
        PacedMixer paced(1.0f, player, kOpened);
        sounds.load(paced);
        OfflineMixer straight(1.0f);
        sounds.load(straight);
        std::vector<std::int16_t> expected;
        double wall = kOpened;
        for (int pump = 0; pump < 90; ++pump) {
            const std::size_t asked = player.given.size();
            expected.resize(asked);
            straight.render(std::span(expected).subspan(straight.renderedFrames() * 2));
            sounds.act(paced, actionAt(pump));
            sounds.act(straight, actionAt(pump));
            player.setPlaying(pump >= test.playingFrom);
            wall += pump == test.stallAt ? 5.0 : test.interval;
            player.setWall(wall);
            paced.pump(wall);
        }
        ASSERT_GT(static_cast<double>(player.given.size() / 2), 89 * test.interval * kRate);
        expected.resize(player.given.size());
        straight.render(std::span(expected).subspan(straight.renderedFrames() * 2));
        ASSERT_EQ(player.given.size(), expected.size());
        const auto differ =
            std::mismatch(player.given.begin(), player.given.end(), expected.begin());
        EXPECT_TRUE(differ.first == player.given.end())
            << "frame " << (differ.first - player.given.begin()) / 2;
    }
}

// Catches a sound started behind what is queued beyond the lead, or at a time of its own rather
// than on the next frame rendered: the time from the call to the sound being heard stays within
// the lead (and the player's restart after running dry), whatever the pumps and the player's clock.
TEST(PacedMixer, ASoundIsHeardWithinTheLeadOfTheCall) {
    struct Case {
        const char* name;
        double interval;
        double clockRate;
        int stallAt;
    };
    const Case cases[] = {
        {"a 60 Hz loop", kSixtyHertz, 1.0, -1},
        {"10 ms slices of a freeze", 0.010, 1.0, -1},
        {"a player clock running slow", kSixtyHertz, 0.98, -1},
        {"a player clock running fast", kSixtyHertz, 1.02, -1},
        {"right after a stall", kSixtyHertz, 1.0, 599},
    };
    Sounds sounds;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        SimulatedMixPlayer player(test.clockRate);
        player.setPlaying(true);
        PacedMixer paced(1.0f, player, kOpened);
        sounds.load(paced);
        double wall = kOpened;
        for (int pump = 0; pump < 600; ++pump) {
            wall += pump == test.stallAt ? 5.0 : test.interval;
            player.setWall(wall);
            paced.pump(wall);
        }
        wall += test.interval / 2;
        player.setWall(wall);
        const double calledAt = player.now();
        const auto soundFrame = static_cast<std::int64_t>(player.given.size() / 2);
        sounds.act(paced, Action::Play);
        for (int pump = 0;
             pump < 100 && player.given.size() / 2 == static_cast<std::size_t>(soundFrame);
             ++pump) {
            wall += test.interval / 2;
            player.setWall(wall);
            paced.pump(wall);
        }

        ASSERT_EQ(player.playedFirstFrames.back(), soundFrame) << "not the next block";
        EXPECT_NE(player.given[static_cast<std::size_t>(soundFrame) * 2], 0)
            << "not its first frame";
        EXPECT_LE(player.played.back().start - calledAt,
                  kLeadSeconds + SimulatedMixPlayer::kRestartDelaySeconds + 1e-9);
    }
}

// Catches a mix that waits for the player: the sounds of the moments before the page's first key
// press would then be heard after it, late.
TEST(PacedMixer, SoundsStartedBeforeThePlayerPlaysAreOverNotWaiting) {
    Sounds sounds;
    SimulatedMixPlayer player;
    PacedMixer paced(1.0f, player, kOpened);
    sounds.load(paced);
    sounds.act(paced, Action::Loop);
    double wall = kOpened;
    for (int pump = 0; pump < 120; ++pump) {
        player.setPlaying(pump >= 60);
        paced.pump(wall += kSixtyHertz);
    }
    ASSERT_FALSE(player.played.empty());
    EXPECT_NEAR(static_cast<double>(player.playedFirstFrames.front()), kRate + kLeadSeconds * kRate,
                kSixtyHertz * kRate + 1.0);
}
