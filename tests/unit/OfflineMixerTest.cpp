#include "audio/OfflineMixer.h"
#include "unit/ScratchFile.h"
#include "unit/TestWav.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace {

constexpr int kRate = OfflineMixer::kFramesPerSecond;
// The loop's fades: 600 ms of frames.
constexpr std::int64_t kFade = kRate * 6 / 10;
constexpr std::int16_t kSteady = 16000;

std::vector<std::int16_t> steady(std::size_t frames, std::int16_t value) {
    return std::vector<std::int16_t>(frames, value);
}

// A mono sound whose every frame differs from its neighbours, so a frame skipped or played twice
// shows; none of it is silent.
std::vector<std::int16_t> ramp(std::size_t frames) {
    constexpr std::size_t kRampFrames = 3000;
    std::vector<std::int16_t> samples(frames);
    for (std::size_t frame = 0; frame < frames; ++frame) {
        samples[frame] = static_cast<std::int16_t>(10 * (frame % kRampFrames + 1));
    }
    return samples;
}

std::int16_t leftAt(const std::vector<std::int16_t>& mix, std::int64_t frame) {
    return mix.at(static_cast<std::size_t>(frame) * 2);
}

std::int16_t rightAt(const std::vector<std::int16_t>& mix, std::int64_t frame) {
    return mix.at(static_cast<std::size_t>(frame) * 2 + 1);
}

double secondsOf(std::int64_t frame) {
    return static_cast<double>(frame) / kRate;
}

class OfflineMixerTest : public testing::Test {
  protected:
    ~OfflineMixerTest() override {
        for (const std::filesystem::path& file : files_) {
            std::filesystem::remove(file);
        }
    }

    std::filesystem::path scratch() {
        files_.push_back(scratchFile("offline" + std::to_string(files_.size()) + ".wav"));
        return files_.back();
    }

    // A file of `mono` on both sides: SDL's converter, which turns a mono file into stereo by
    // way of floating point, is then left out, and the samples reach the mix as they are.
    SoundOutput::Sound load(OfflineMixer& mixer, const std::vector<std::int16_t>& mono) {
        std::vector<std::int16_t> stereo;
        for (const std::int16_t sample : mono) {
            stereo.insert(stereo.end(), {sample, sample});
        }
        return loadFile(mixer, stereo, 2);
    }

    SoundOutput::Sound loadFile(OfflineMixer& mixer, const std::vector<std::int16_t>& samples,
                                int channels, int rate = kRate) {
        const std::filesystem::path path = scratch();
        writeWav(path, samples, channels, rate);
        std::ostringstream errors;
        const SoundOutput::Sound sound = mixer.load(path.string(), errors);
        EXPECT_NE(sound, SoundOutput::kNoSound) << errors.str();
        return sound;
    }

  private:
    std::vector<std::filesystem::path> files_;
};

} // namespace

// Catches a sound started where the mix has been rendered to rather than at its time, seconds
// turned into frames at the wrong rate or with the wrong rounding, and a time that runs back,
// into the past of the mix or before the time set last.
TEST_F(OfflineMixerTest, ASoundStartsAtTheFrameOfItsTime) {
    struct Case {
        const char* name;
        double renderedFirst;
        std::vector<double> times;
        std::int64_t startFrame;
    };
    const Case cases[] = {
        {"at the start", 0.0, {0.0}, 0},
        {"half a second in", 0.0, {0.5}, kRate / 2},
        {"just after a frame", 0.0, {100.4 / kRate}, 100},
        {"just before a frame", 0.0, {100.6 / kRate}, 101},
        {"before the time set last", 0.0, {1.0, 0.5}, kRate},
        {"before the start", 0.0, {-1.0}, 0},
        {"before the end of the mix", 1.0, {0.5}, kRate},
        {"after the end of the mix", 0.25, {0.5}, kRate / 2},
    };
    const std::vector<std::int16_t> sound = {1000, -2000, 3000, 4000};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        OfflineMixer mixer(1.0f);
        const SoundOutput::Sound played = load(mixer, sound);
        std::vector<std::int16_t> mix = mixer.mixUntil(test.renderedFirst);
        for (const double time : test.times) {
            mixer.setTime(time);
        }
        mixer.play(played);
        const std::vector<std::int16_t> rest = mixer.mixUntil(2.0);
        mix.insert(mix.end(), rest.begin(), rest.end());
        ASSERT_EQ(mix.size(), 2u * 2 * kRate);

        const auto first = std::find_if(mix.begin(), mix.end(), [](auto s) { return s != 0; });
        EXPECT_EQ((first - mix.begin()) / 2, test.startFrame);
        for (std::size_t frame = 0; frame < sound.size(); ++frame) {
            EXPECT_EQ(leftAt(mix, test.startFrame + static_cast<std::int64_t>(frame)),
                      sound[frame]);
        }
    }
}

// Catches the volume scaled in floating point, rounded rather than truncated toward zero as
// SDL_mixer does, a volume setting rounded to the nearest step or left unclamped.
TEST_F(OfflineMixerTest, TheVolumeScalesEachSampleAsSdlMixerDoes) {
    struct Case {
        float volume;
        std::int16_t sample;
        std::int16_t mixed;
    };
    const Case cases[] = {
        {1.0f, 32767, 32767}, {1.0f, -32768, -32768}, {0.5f, 3, 1},
        {0.5f, -3, -1},       {0.3f, 32767, 9727},    {0.3f, -32768, -9728},
        {0.999f, 1000, 992},  {1.5f, 1001, 1001},     {-0.2f, 1001, 0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(testing::Message() << test.volume << " of " << test.sample);
        OfflineMixer mixer(test.volume);
        mixer.play(load(mixer, {test.sample}));
        const std::vector<std::int16_t> mix = mixer.mixUntil(secondsOf(1));
        ASSERT_EQ(mix.size(), 2u);
        EXPECT_EQ(leftAt(mix, 0), test.mixed);
        EXPECT_EQ(rightAt(mix, 0), test.mixed);
    }
}

// Catches a mono file on one side only, a stereo file's sides swapped or merged, and a file at
// another rate played at the wrong speed. SDL's converter may move a mono sample by one step.
TEST_F(OfflineMixerTest, FilesComeOutAsStereoAtTheMixersRate) {
    const std::vector<std::int16_t> stereo = {500, -700, 123, 456};
    OfflineMixer mixer(1.0f);
    mixer.play(loadFile(mixer, stereo, 2));
    EXPECT_EQ(mixer.mixUntil(secondsOf(2)), stereo);

    const std::vector<std::int16_t> mono = {500, -700};
    mixer.play(loadFile(mixer, mono, 1));
    const std::vector<std::int16_t> mixed = mixer.mixUntil(secondsOf(4));
    ASSERT_EQ(mixed.size(), 2 * mono.size());
    for (std::size_t frame = 0; frame < mono.size(); ++frame) {
        SCOPED_TRACE(frame);
        EXPECT_EQ(leftAt(mixed, frame), rightAt(mixed, frame));
        EXPECT_NEAR(leftAt(mixed, frame), mono[frame], 1);
    }

    constexpr std::size_t kHalfRateFrames = 1000;
    mixer.play(loadFile(mixer, steady(kHalfRateFrames, kSteady), 1, kRate / 2));
    const std::vector<std::int16_t> mix = mixer.mixUntil(1.0 + secondsOf(4));
    const auto last = std::find_if(mix.rbegin(), mix.rend(), [](auto s) { return s != 0; });
    const auto lastingFrames = static_cast<double>(mix.rend() - last) / 2;
    EXPECT_NEAR(lastingFrames, 2.0 * kHalfRateFrames, 0.02 * kHalfRateFrames);
}

// Catches a fade of the wrong length or shape, a loop at full volume at once, a fade-out that
// starts from full volume rather than from where a fade-in had reached, a fade-out started again
// by a second stop, a loop that is not stopped at the end of its fade-out or comes back, a loop
// stopped before it is heard that never stops, and a loop asked for again during a fade that
// does not ramp as SDL_mixer's does (up to the level the fade had reached, then a jump to full).
TEST_F(OfflineMixerTest, TheLoopFadesInAndOutLinearlyOver600Milliseconds) {
    struct Asked {
        std::int64_t frame;
        bool stop;
    };
    struct Level {
        std::int64_t frame;
        std::int16_t mixed;
    };
    struct Case {
        const char* name;
        float volume;
        std::vector<Asked> asked;
        std::vector<Level> levels;
    };
    constexpr std::int64_t kStop = 2 * kRate;
    constexpr std::int64_t kAgain = kStop + kFade / 4;
    const Case cases[] = {
        {"fading in and out",
         1.0f,
         {{kStop, true}},
         {{0, 0},
          {kFade / 4, kSteady / 4},
          {kFade / 2, kSteady / 2},
          {kFade - 1, kSteady / 128 * 127},
          {kFade, kSteady},
          {kStop - 1, kSteady},
          {kStop, kSteady},
          {kStop + kFade / 2, kSteady / 2},
          {kStop + kFade - 1, 0},
          {kStop + kFade, 0},
          {kStop + 3 * kFade, 0}}},
        {"at half volume",
         0.5f,
         {{kStop, true}},
         {{kFade / 2, kSteady / 4}, {kFade, kSteady / 2}, {kStop + kFade / 2, kSteady / 4}}},
        {"stopped halfway in",
         1.0f,
         {{kFade / 2, true}},
         {{kFade / 2, kSteady / 2}, {kFade, kSteady / 4}, {kFade / 2 + kFade, 0}}},
        {"stopped again while fading out",
         1.0f,
         {{kStop, true}, {kStop + kFade / 2, true}},
         {{kStop + 3 * kFade / 4, kSteady / 4}, {kStop + kFade, 0}}},
        {"stopped as it starts", 1.0f, {{0, true}}, {{0, 0}, {kFade / 2, 0}, {3 * kFade, 0}}},
        {"asked again halfway in",
         1.0f,
         {{kFade / 2, false}},
         {{kFade / 2, 0},
          {kFade, kSteady / 4},
          {kFade / 2 + kFade - 1, kSteady / 128 * 63},
          {kFade / 2 + kFade, kSteady}}},
        {"asked again while fading out",
         1.0f,
         {{kStop, true}, {kAgain, false}},
         {{kAgain, 0},
          {kAgain + kFade / 2, kSteady / 8 * 3},
          {kAgain + kFade, kSteady},
          {kAgain + 3 * kFade, kSteady}}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        OfflineMixer mixer(test.volume);
        const SoundOutput::Sound meadow = load(mixer, steady(1000, kSteady));
        mixer.loop(meadow);
        for (const Asked& asked : test.asked) {
            mixer.setTime(secondsOf(asked.frame));
            asked.stop ? mixer.stopLoop() : mixer.loop(meadow);
        }
        const std::vector<std::int16_t> mix = mixer.mixUntil(secondsOf(kStop + 4 * kFade));
        for (const Level& level : test.levels) {
            SCOPED_TRACE(level.frame);
            EXPECT_EQ(leftAt(mix, level.frame), level.mixed);
        }
    }
}

// Catches a frame skipped or doubled where the loop wraps, a loop that ends after one pass, and
// a loop asked for again that carries on where it was instead of starting over, faded in anew.
TEST_F(OfflineMixerTest, TheLoopWrapsSeamlesslyAndStartsOverWhenAskedAgain) {
    constexpr std::size_t kLength = 300;
    // Not a whole number of passes, so carrying on and starting over differ.
    constexpr std::int64_t kRestart = 2 * kFade + 17;
    const std::vector<std::int16_t> sound = ramp(kLength);
    OfflineMixer mixer(1.0f);
    const SoundOutput::Sound meadow = load(mixer, sound);
    mixer.loop(meadow);
    mixer.setTime(secondsOf(kRestart));
    mixer.loop(meadow);
    const std::vector<std::int16_t> mix = mixer.mixUntil(secondsOf(kRestart + 2 * kFade));

    const auto passedFrom = [&](std::int64_t start, std::int64_t frame) {
        return sound[static_cast<std::size_t>(frame - start) % kLength];
    };
    for (std::int64_t frame = kFade; frame < kFade + 3 * std::int64_t{kLength}; ++frame) {
        ASSERT_EQ(leftAt(mix, frame), passedFrom(0, frame)) << "frame " << frame;
    }
    EXPECT_EQ(leftAt(mix, kRestart), 0);
    for (std::int64_t frame = kRestart + kFade;
         frame < kRestart + kFade + 3 * std::int64_t{kLength}; ++frame) {
        ASSERT_EQ(leftAt(mix, frame), passedFrom(kRestart, frame)) << "frame " << frame;
    }
}

// Catches stopping the loop stopping or fading every channel: a sound already playing, or one
// started with the stop as a win's is, keeps every sample to its end while the loop fades out.
TEST_F(OfflineMixerTest, StoppingTheLoopLeavesTheOtherSoundsToTheirEnd) {
    constexpr std::int64_t kStop = kRate;
    constexpr std::size_t kWinFrames = 2 * kFade;
    // The win on the left, the meadow on the right, so each side shows one of them.
    std::vector<std::int16_t> win;
    for (const std::int16_t sample : ramp(kWinFrames)) {
        win.insert(win.end(), {sample, 0});
    }
    const std::vector<std::int16_t> meadow = {0, kSteady};
    for (const std::int64_t winStart : {kStop - kRate / 10, kStop}) {
        SCOPED_TRACE(winStart);
        OfflineMixer mixer(1.0f);
        const SoundOutput::Sound winSound = loadFile(mixer, win, 2);
        mixer.loop(loadFile(mixer, meadow, 2));
        mixer.setTime(secondsOf(winStart));
        mixer.play(winSound);
        mixer.setTime(secondsOf(kStop));
        mixer.stopLoop();
        const std::vector<std::int16_t> mix = mixer.mixUntil(secondsOf(kStop + 3 * kFade));

        for (std::size_t frame = 0; frame < kWinFrames; ++frame) {
            ASSERT_EQ(leftAt(mix, winStart + static_cast<std::int64_t>(frame)), win[2 * frame])
                << "frame " << frame;
        }
        EXPECT_EQ(rightAt(mix, kStop + kFade / 2), kSteady / 2);
        EXPECT_EQ(rightAt(mix, kStop + kFade), 0);
    }
}

// Catches mute that pauses the sounds instead of silencing them, only quietens the mix, starts
// or ends a frame off its toggle, or does not come back; and two toggles in one frame muting.
TEST_F(OfflineMixerTest, MuteZeroesTheMixFromItsToggleToTheNext) {
    struct Case {
        const char* name;
        std::vector<std::int64_t> toggles;
        std::int64_t mutedFrom;
        std::int64_t mutedTo;
    };
    const Case cases[] = {
        {"a quarter of a second", {kRate / 4, kRate / 2}, kRate / 4, kRate / 2},
        {"toggled twice at once", {kRate / 4, kRate / 4}, 0, 0},
        {"to the end", {kRate / 4}, kRate / 4, kRate},
    };
    const std::vector<std::int16_t> sound = ramp(kRate);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        OfflineMixer mixer(1.0f);
        mixer.play(load(mixer, sound));
        for (const std::int64_t toggle : test.toggles) {
            mixer.setTime(secondsOf(toggle));
            mixer.toggleMute();
        }
        const std::vector<std::int16_t> mix = mixer.mixUntil(1.0);
        for (std::int64_t frame = 0; frame < kRate; ++frame) {
            const bool muted = frame >= test.mutedFrom && frame < test.mutedTo;
            const std::int16_t expected = muted ? 0 : sound[static_cast<std::size_t>(frame)];
            ASSERT_EQ(leftAt(mix, frame), expected) << "frame " << frame;
            ASSERT_EQ(rightAt(mix, frame), expected) << "frame " << frame;
        }
    }
}

// Catches no limit on sounds at once, a limit one off, the loop taking one of the effects'
// channels, and a channel not freed when its sound ends.
TEST_F(OfflineMixerTest, FifteenEffectsSoundAtOnceBesidesTheLoop) {
    constexpr std::int16_t kEach = 100;
    constexpr std::int64_t kShortEnds = 500;
    constexpr std::int64_t kLater = 600;
    constexpr std::int64_t kChecked = 700;
    struct Case {
        const char* name;
        bool silentLoop;
        int atOnce;
        bool oneShort;
        int later;
        std::int16_t mixed;
    };
    const Case cases[] = {
        {"fifteen", false, 15, false, 0, 15 * kEach},
        {"sixteen", false, 16, false, 0, 15 * kEach},
        {"sixteen with the loop", true, 16, false, 0, 15 * kEach},
        {"one more when one has ended", false, 15, true, 1, 15 * kEach},
        {"one more when none has ended", false, 15, false, 1, 15 * kEach},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        OfflineMixer mixer(1.0f);
        const SoundOutput::Sound longSound = load(mixer, steady(2 * kChecked, kEach));
        const SoundOutput::Sound shortSound = load(mixer, steady(kShortEnds, kEach));
        if (test.silentLoop) {
            mixer.loop(load(mixer, steady(10, 0)));
        }
        for (int sound = 0; sound < test.atOnce; ++sound) {
            mixer.play(sound == 0 && test.oneShort ? shortSound : longSound);
        }
        mixer.setTime(secondsOf(kLater));
        for (int sound = 0; sound < test.later; ++sound) {
            mixer.play(longSound);
        }
        const std::vector<std::int16_t> mix = mixer.mixUntil(secondsOf(kChecked + 1));
        EXPECT_EQ(leftAt(mix, 0), std::min(test.atOnce, 15) * kEach);
        EXPECT_EQ(leftAt(mix, kChecked), test.mixed);
    }
}

// Catches sums that wrap around past full scale, and sums clamped once at the end rather than as
// each channel is added, which SDL_mixer does in the order of its channels.
TEST_F(OfflineMixerTest, SumsClampAtFullScaleAsEachChannelIsAdded) {
    struct Case {
        std::vector<std::int16_t> sounds;
        std::int16_t mixed;
    };
    const Case cases[] = {
        {{30000, 30000}, 32767},         {{-30000, -30000}, -32768},
        {{30000, 30000, -30000}, 2767},  {{-30000, -30000, 30000}, -2768},
        {{20000, -20000, 10000}, 10000},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(testing::PrintToString(test.sounds));
        OfflineMixer mixer(1.0f);
        for (const std::int16_t sample : test.sounds) {
            mixer.play(load(mixer, {sample}));
        }
        const std::vector<std::int16_t> mix = mixer.mixUntil(secondsOf(1));
        EXPECT_EQ(leftAt(mix, 0), test.mixed);
        EXPECT_EQ(rightAt(mix, 0), test.mixed);
    }
}

// Catches a missing, foreign or cut-off file taken for a sound (SDL plays the readable part of a
// cut-off file unless told otherwise), a message not in the device mixer's words, a failed load
// that takes a handle, and playing the failed sound doing anything at all.
TEST_F(OfflineMixerTest, AnUnreadableOrDamagedFileIsNoSoundWithTheMixersMessage) {
    struct Case {
        const char* name;
        void (*make)(const std::filesystem::path& path);
    };
    const Case cases[] = {
        {"missing", [](const std::filesystem::path&) {}},
        {"not a WAV file",
         [](const std::filesystem::path& path) {
             std::ofstream(path) << "not a sound at all, only words in a file\n";
         }},
        {"cut off",
         [](const std::filesystem::path& path) {
             writeWav(path, steady(1000, kSteady));
             std::filesystem::resize_file(path, std::filesystem::file_size(path) - 100);
         }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const std::filesystem::path path = scratch();
        test.make(path);
        OfflineMixer mixer(1.0f);
        std::ostringstream errors;
        const SoundOutput::Sound failed = mixer.load(path.string(), errors);
        EXPECT_EQ(failed, SoundOutput::kNoSound);
        const std::string prefix = "ERROR: Failed to load sound '" + path.string() + "': ";
        const std::string message = errors.str();
        EXPECT_TRUE(message.starts_with(prefix)) << message;
        EXPECT_GT(message.size(), prefix.size() + 1) << "a reason follows";
        EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1);
        EXPECT_TRUE(message.ends_with('\n'));

        mixer.play(failed);
        mixer.loop(failed);
        const std::vector<std::int16_t> silence = mixer.mixUntil(0.01);
        EXPECT_TRUE(std::all_of(silence.begin(), silence.end(), [](auto s) { return s == 0; }));
        EXPECT_EQ(load(mixer, {kSteady}), 0);
    }
}

// Catches state lost between renders: a fade, a wrap or a mute that starts over with each
// chunk, and what was asked for applied at the start of the chunk it falls in rather than at
// its own frame; also a render that moves the time wrongly when the caller renders as it goes.
TEST_F(OfflineMixerTest, ChunkedRendersEqualOneRender) {
    enum class Ask { Play, Loop, Stop, Mute };
    struct Asked {
        double time;
        Ask ask;
    };
    const Asked asked[] = {
        {0.0, Ask::Loop}, {0.1, Ask::Play}, {0.3, Ask::Mute}, {0.35, Ask::Mute}, {0.5, Ask::Play},
        {0.9, Ask::Stop}, {1.0, Ask::Play}, {1.2, Ask::Loop}, {1.25, Ask::Stop}, {1.7, Ask::Mute},
    };
    constexpr double kEnd = 2.0;
    // Renders as it goes when `chunkFrames` is 0, before each request; else after all of them.
    const auto mixOf = [&](std::size_t chunkFrames) {
        OfflineMixer mixer(0.8f);
        const SoundOutput::Sound effect = load(mixer, ramp(3000));
        const SoundOutput::Sound meadow = load(mixer, ramp(777));
        std::vector<std::int16_t> mix;
        const auto append = [&mix](const std::vector<std::int16_t>& chunk) {
            mix.insert(mix.end(), chunk.begin(), chunk.end());
        };
        for (const Asked& request : asked) {
            if (chunkFrames == 0) {
                append(mixer.mixUntil(request.time));
            }
            mixer.setTime(request.time);
            switch (request.ask) {
            case Ask::Play:
                mixer.play(effect);
                break;
            case Ask::Loop:
                mixer.loop(meadow);
                break;
            case Ask::Stop:
                mixer.stopLoop();
                break;
            case Ask::Mute:
                mixer.toggleMute();
                break;
            }
        }
        const auto endFrame = OfflineMixer::frameAt(kEnd);
        while (mixer.renderedFrames() < endFrame) {
            const auto frames = std::min<std::int64_t>(
                chunkFrames == 0 ? endFrame : static_cast<std::int64_t>(chunkFrames),
                endFrame - mixer.renderedFrames());
            std::vector<std::int16_t> chunk(static_cast<std::size_t>(frames) * 2);
            mixer.render(chunk);
            append(chunk);
        }
        return mix;
    };
    const std::vector<std::int16_t> whole = mixOf(OfflineMixer::frameAt(kEnd));
    ASSERT_EQ(whole.size(), 2u * 2 * kRate);
    for (const std::size_t chunkFrames : {0u, 1u, 7u, 1470u, 44101u}) {
        SCOPED_TRACE(chunkFrames);
        EXPECT_EQ(mixOf(chunkFrames), whole);
    }
}
