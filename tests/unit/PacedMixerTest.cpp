#include "audio/PacedMixer.h"
#include "unit/ScratchFile.h"
#include "unit/SimulatedMixPlayer.h"
#include "unit/TestWav.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

constexpr double kRate = OfflineMixer::kFramesPerSecond;
constexpr double kOpened = 1234.5678;
constexpr double kSixtyHertz = 1.0 / 60.0;
constexpr double kLatestHeard =
    static_cast<double>(MixPacer::kLeadFrames) / kRate + SimulatedMixPlayer::kRestartDelaySeconds;

// Two sounds whose frames differ from their neighbours and are never silent, so a frame lost,
// doubled or moved shows: sound 0 is played, sound 1 looped.
class PacedMixerTest : public testing::Test {
  protected:
    PacedMixerTest() {
        for (std::size_t sound = 0; sound < 2; ++sound) {
            std::vector<std::int16_t> samples;
            for (int frame = 0; frame < 5000 * (1 + 5 * static_cast<int>(sound)); ++frame) {
                samples.push_back(static_cast<std::int16_t>(1 + frame % 2000 * (3 + 2 * sound)));
            }
            writeWav(files_[sound], samples);
        }
    }
    ~PacedMixerTest() override {
        for (const std::filesystem::path& file : files_) {
            std::filesystem::remove(file);
        }
    }

    void load(SoundOutput& output) {
        std::ostringstream errors;
        for (const std::filesystem::path& file : files_) {
            output.load(file.string(), errors);
        }
        ASSERT_EQ(errors.str(), "");
    }

    // What the game asks between two pumps, by pump.
    static void actAt(int pump, SoundOutput& output) {
        switch (pump) {
        case 3:
        case 70:
            return output.play(0);
        case 10:
            return output.loop(1);
        case 40:
        case 45:
            return output.toggleMute();
        case 60:
            return output.stopLoop();
        default:
            return;
        }
    }

  private:
    std::filesystem::path files_[2] = {scratchFile("paced0.wav"), scratchFile("paced1.wav")};
};

} // namespace

// Catches blocks that overlap or leave gaps between pumps, the mix held back while the player
// plays nothing, and an action of the game that never reaches the mixer or lands elsewhere than
// on the first frame of the next block.
TEST_F(PacedMixerTest, TheBlocksQueuedAreTheMixRenderedStraightThrough) {
    struct Case {
        const char* name;
        double interval;
        int playingFrom;
        int stallAt;
    };
    const Case cases[] = {
        {"a 60 Hz loop", kSixtyHertz, 0, -1},
        {"10 ms slices of a freeze", 0.010, 0, -1},
        {"a key pressed midway", kSixtyHertz, 30, -1},
        {"a stall, playing", kSixtyHertz, 0, 20},
        {"a stall before any key", kSixtyHertz, 1000, 20},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        SimulatedMixPlayer player;
        PacedMixer paced(1.0f, player, kOpened);
        OfflineMixer straight(1.0f);
        load(paced);
        load(straight);
        std::vector<std::int16_t> expected;
        for (int pump = 0; pump < 90; ++pump) {
            expected.resize(player.given.size());
            straight.render(std::span(expected).subspan(straight.renderedFrames() * 2));
            actAt(pump, paced);
            actAt(pump, straight);
            player.playing = pump >= test.playingFrom;
            player.wall += pump == test.stallAt ? 5.0 : test.interval;
            paced.pump(player.wall + kOpened);
        }
        ASSERT_GT(static_cast<double>(player.given.size() / 2), 89 * test.interval * kRate);
        expected.resize(player.given.size());
        straight.render(std::span(expected).subspan(straight.renderedFrames() * 2));
        EXPECT_TRUE(player.given == expected);
    }
}

// Catches a sound started behind more than the lead, or at a time of its own rather than on the
// next frame rendered; pacing by the wall clock alone, under which a player clock a little slow
// queues ever more and a fast one runs dry; and a mix that, once the player stops, no longer
// keeps to the time the player had reached.
TEST_F(PacedMixerTest, ASoundIsHeardWithinTheLeadAndThePlayerNeverRunsDry) {
    struct Case {
        const char* name;
        double interval;
        double clockRate;
    };
    const Case cases[] = {{"a 60 Hz loop", kSixtyHertz, 1.0},
                          {"10 ms slices of a freeze", 0.010, 1.0},
                          {"a player clock running slow", kSixtyHertz, 0.98},
                          {"a player clock running fast", kSixtyHertz, 1.02}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        SimulatedMixPlayer player(test.clockRate);
        player.playing = true;
        PacedMixer paced(1.0f, player, kOpened);
        load(paced);
        for (int pump = 0; pump < 3600; ++pump) {
            if (pump % 100 == 50) {
                const double calledAt = player.now();
                const std::size_t soundFrame = player.given.size() / 2;
                paced.play(0);
                for (int wait = 0; wait < 100 && player.given.size() / 2 == soundFrame; ++wait) {
                    paced.pump((player.wall += test.interval) + kOpened);
                }
                ASSERT_GT(player.given.size() / 2, soundFrame) << "never rendered";
                ASSERT_NE(player.given[soundFrame * 2], 0) << "not from its first frame";
                ASSERT_LE(player.played.back().start - calledAt, kLatestHeard + 1e-9);
            }
            paced.pump((player.wall += test.interval) + kOpened);
        }
        for (std::size_t block = 1; block < player.played.size(); ++block) {
            const SimulatedMixPlayer::Block& before = player.played[block - 1];
            ASSERT_NEAR(player.played[block].start, before.start + before.seconds, 1e-9) << block;
        }
        player.playing = false;
        for (int pump = 0; pump < 30; ++pump) {
            const std::size_t before = player.given.size();
            paced.pump((player.wall += kSixtyHertz) + kOpened);
            ASSERT_NEAR(static_cast<double>(player.given.size() - before) / 2, kSixtyHertz * kRate,
                        1.0);
        }
    }
}
