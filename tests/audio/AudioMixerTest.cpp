// The real mixer on SDL's disk driver, which writes the mixed stream (16-bit stereo at 44.1 kHz)
// to a file in real time, as a sound card would play it. A change made through the mixer reaches
// the stream a buffer or two after the file's length at the moment it was made; every check
// below starts that much later.
#include "audio/AudioMixer.h"
#include "audio/OfflineMixer.h"
#include "unit/ScratchFile.h"
#include "unit/TestWav.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <numbers>
#include <sstream>
#include <thread>

namespace {

constexpr int kRate = 44100;
constexpr std::size_t kFrameBytes = 4;
constexpr std::size_t kBufferBytes = 1024 * kFrameBytes;
constexpr std::size_t kSettleBytes = 3 * kBufferBytes;
// 10 ms: a whole number of periods of any tone on a multiple of 100 Hz.
constexpr std::size_t kWindowBytes = kRate / 100 * kFrameBytes;
constexpr double kFullScale = 32767.0;
constexpr double kLoudTone = 0.5;
constexpr double kToneHertz = 400.0;
constexpr double kToneRms = kLoudTone * kFullScale / std::numbers::sqrt2;
// As long as the mixer's loop takes to fade out.
constexpr double kLoopFadeSeconds = 0.6;

std::size_t bytesOf(double seconds) {
    return static_cast<std::size_t>(seconds * kRate) * kFrameBytes;
}

void writeLittleEndian(std::ofstream& file, std::uint32_t value, int bytes) {
    for (int byte = 0; byte < bytes; ++byte) {
        file.put(static_cast<char>((value >> (8 * byte)) & 0xffu));
    }
}

// A 16-bit mono WAV file of a sine at `hertz`, `amplitude` of full scale.
void writeTone(const std::filesystem::path& path, double seconds, double hertz, double amplitude) {
    const auto frames = static_cast<std::uint32_t>(seconds * kRate);
    std::ofstream file(path, std::ios::binary);
    file << "RIFF";
    writeLittleEndian(file, 36 + 2 * frames, 4);
    // The format: 16 bytes of it, PCM, one channel, the rate, bytes a second, bytes a frame,
    // bits a sample.
    file << "WAVEfmt ";
    writeLittleEndian(file, 16, 4);
    writeLittleEndian(file, 1, 2);
    writeLittleEndian(file, 1, 2);
    writeLittleEndian(file, kRate, 4);
    writeLittleEndian(file, 2 * kRate, 4);
    writeLittleEndian(file, 2, 2);
    writeLittleEndian(file, 16, 2);
    file << "data";
    writeLittleEndian(file, 2 * frames, 4);
    for (std::uint32_t frame = 0; frame < frames; ++frame) {
        const double phase = 2.0 * std::numbers::pi * hertz * frame / kRate;
        const auto sample =
            static_cast<std::int16_t>(std::lround(amplitude * kFullScale * std::sin(phase)));
        writeLittleEndian(file, static_cast<std::uint16_t>(sample), 2);
    }
}

// The samples of both channels from byte `from` up to byte `to` of the mix.
class MixSpan {
  public:
    MixSpan(const std::vector<std::int16_t>& mix, std::size_t from, std::size_t to)
        : mix_(mix), from_(std::min(from / 2, mix.size())),
          to_(std::clamp(to / 2, from_, mix.size())) {}

    // The level a sound `bytes` long has when it is all the span holds.
    double levelOfSoundLasting(std::size_t bytes) const {
        return rmsOf(from_, to_) * std::sqrt(static_cast<double>(to_ - from_) / (bytes / 2));
    }
    int nonZeroSamples() const {
        return static_cast<int>(std::count_if(mix_.begin() + from_, mix_.begin() + to_,
                                              [](std::int16_t sample) { return sample != 0; }));
    }
    // The 10 ms windows whose level lies outside [low, high].
    int windowsOutside(double low, double high) const {
        int outside = 0;
        for (std::size_t start = from_; start + kWindowBytes / 2 <= to_;
             start += kWindowBytes / 2) {
            const double level = rmsOf(start, start + kWindowBytes / 2);
            outside += level < low || level > high ? 1 : 0;
        }
        return outside;
    }

  private:
    double rmsOf(std::size_t from, std::size_t to) const {
        double sum = 0.0;
        for (std::size_t index = from; index < to; ++index) {
            sum += static_cast<double>(mix_[index]) * mix_[index];
        }
        return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
    }

    const std::vector<std::int16_t>& mix_;
    std::size_t from_;
    std::size_t to_;
};

class DiskMixer : public testing::Test {
  protected:
    DiskMixer() {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", mixFile_.c_str(), 1);
    }
    ~DiskMixer() override {
        mixer.reset();
        std::filesystem::remove(mixFile_);
        for (const std::filesystem::path& file : soundFiles_) {
            std::filesystem::remove(file);
        }
    }

    void open(float volume) {
        std::ostringstream errors;
        mixer = AudioMixer::open(volume, errors);
        ASSERT_NE(mixer, nullptr) << errors.str();
    }

    SoundOutput::Sound loadTone(double seconds, double hertz, double amplitude) {
        soundFiles_.push_back(scratchFile("tone" + std::to_string(soundFiles_.size()) + ".wav"));
        writeTone(soundFiles_.back(), seconds, hertz, amplitude);
        std::ostringstream errors;
        const SoundOutput::Sound sound = mixer->load(soundFiles_.back().string(), errors);
        EXPECT_NE(sound, SoundOutput::kNoSound) << errors.str();
        return sound;
    }

    // A scratch file of `samples` for the device's mixer and the offline one to load alike.
    std::string writeSound(const std::vector<std::int16_t>& samples, int channels, int rate) {
        soundFiles_.push_back(scratchFile("sound" + std::to_string(soundFiles_.size()) + ".wav"));
        writeWav(soundFiles_.back(), samples, channels, rate);
        return soundFiles_.back().string();
    }

    std::size_t mixedBytes() const {
        std::error_code error;
        const auto size = std::filesystem::file_size(mixFile_, error);
        return error ? 0 : static_cast<std::size_t>(size);
    }

    // Waits until the mix holds `bytes`; a mix that stalls for seconds fails the test rather
    // than leave the checks an empty stretch.
    std::size_t waitForMix(std::size_t bytes) const {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (mixedBytes() < bytes && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        EXPECT_GE(mixedBytes(), bytes) << "the mix stalled";
        return mixedBytes();
    }

    // Closes the mixer, which ends the mix, and reads it back.
    std::vector<std::int16_t> closeAndReadMix() {
        mixer.reset();
        std::ifstream file(mixFile_, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)), {});
        std::vector<std::int16_t> mix(bytes.size() / 2);
        std::memcpy(mix.data(), bytes.data(), mix.size() * 2);
        return mix;
    }

    std::unique_ptr<AudioMixer> mixer;

  private:
    const std::filesystem::path mixFile_ = scratchFile("chronocell_mix.raw");
    std::vector<std::filesystem::path> soundFiles_;
};

} // namespace

// Catches the volume setting lost on its way to the channels, or mapped onto the mixer's scale
// wrongly: a sound's level in the mix is the file's level times the volume.
TEST_F(DiskMixer, TheVolumeScalesTheLevelOfWhatIsMixed) {
    constexpr double kToneSeconds = 0.15;
    for (const float volume : {1.0f, 0.25f}) {
        SCOPED_TRACE(volume);
        open(volume);
        const SoundOutput::Sound tone = loadTone(kToneSeconds, kToneHertz, kLoudTone);
        const std::size_t start = mixedBytes();
        mixer->play(tone);
        waitForMix(start + bytesOf(kToneSeconds) + kSettleBytes);
        const std::vector<std::int16_t> mix = closeAndReadMix();
        // The whole mix is the tone and silence around it.
        const double level =
            MixSpan(mix, 0, mix.size() * 2).levelOfSoundLasting(bytesOf(kToneSeconds));
        EXPECT_NEAR(level / kToneRms, volume, 0.02);
    }
}

// Catches a mixer that opens muted, a toggle that only quietens the mix, and one that does not
// come back.
TEST_F(DiskMixer, MuteStartsOffAndTogglesBetweenTheSoundAndPureZeros) {
    const std::size_t span = bytesOf(0.25);
    open(1.0f);
    const SoundOutput::Sound tone = loadTone(2.0, kToneHertz, kLoudTone);
    const std::size_t played = mixedBytes();
    mixer->play(tone);
    const std::size_t muted = waitForMix(played + kSettleBytes + span);
    mixer->toggleMute();
    const std::size_t unmuted = waitForMix(muted + kSettleBytes + span);
    mixer->toggleMute();
    const std::size_t end = waitForMix(unmuted + kSettleBytes + span);
    const std::vector<std::int16_t> mix = closeAndReadMix();

    const double low = kToneRms * 0.9;
    const double high = kToneRms * 1.1;
    EXPECT_EQ(MixSpan(mix, played + kSettleBytes, muted).windowsOutside(low, high), 0);
    EXPECT_EQ(MixSpan(mix, muted + kSettleBytes, unmuted).nonZeroSamples(), 0);
    EXPECT_EQ(MixSpan(mix, unmuted + kSettleBytes, end).windowsOutside(low, high), 0);
}

// Catches the loop's fade-out reaching the other channels, and a loop that goes on after it is
// stopped, whether it has sounded for a while or is stopped in the pass that started it: a win
// or loss sound started with the stop keeps its level to the end of its file, and then the loop
// has faded out too.
TEST_F(DiskMixer, StoppingTheLoopEndsItAndLeavesASoundJustStartedToItsEnd) {
    constexpr double kWinSeconds = 0.7;
    // Far below the win, and at a pitch whose periods fit the windows as the win's do.
    constexpr double kMeadowHertz = 300.0;
    constexpr double kMeadowTone = 0.02;
    static_assert(kWinSeconds > kLoopFadeSeconds, "a fade over the win would end it early");
    for (const double loopSeconds : {0.0, 0.1}) {
        SCOPED_TRACE(loopSeconds);
        open(1.0f);
        const SoundOutput::Sound meadow = loadTone(1.0, kMeadowHertz, kMeadowTone);
        const SoundOutput::Sound win = loadTone(kWinSeconds, kToneHertz, kLoudTone);
        mixer->loop(meadow);
        if (loopSeconds > 0.0) {
            waitForMix(mixedBytes() + kSettleBytes + bytesOf(loopSeconds));
        }
        const std::size_t started = mixedBytes();
        mixer->play(win);
        mixer->stopLoop();
        const std::size_t winEnd = started + bytesOf(kWinSeconds);
        const std::size_t end = waitForMix(winEnd + kSettleBytes + bytesOf(0.15));
        const std::vector<std::int16_t> mix = closeAndReadMix();

        const MixSpan winSpan(mix, started + kSettleBytes, winEnd);
        EXPECT_EQ(winSpan.windowsOutside(kToneRms * 0.9, kToneRms * 1.1), 0);
        EXPECT_EQ(MixSpan(mix, winEnd + kSettleBytes, end).nonZeroSamples(), 0);
    }
}

namespace {

// Samples that change at every step, none of them silent, reproducible from run to run.
std::vector<std::int16_t> noise(std::size_t samples) {
    std::vector<std::int16_t> noise(samples);
    std::uint32_t state = 12345;
    for (std::int16_t& sample : noise) {
        state = state * 1664525u + 1013904223u;
        sample = static_cast<std::int16_t>(static_cast<int>(state >> 16) % 40000 - 20000);
        sample = sample == 0 ? std::int16_t{1} : sample;
    }
    return noise;
}

// The mix from its first frame with any sound in it.
std::vector<std::int16_t> fromFirstSound(const std::vector<std::int16_t>& mix) {
    const auto first = std::find_if(mix.begin(), mix.end(), [](auto s) { return s != 0; });
    return {mix.begin() + (first - mix.begin()) / 2 * 2, mix.end()};
}

} // namespace

// Catches the offline mixer loading, converting or scaling a sound otherwise than the device's
// mixer does, which would make an exported video sound unlike the game: from the sound's first
// frame, the two mixes are alike sample for sample.
TEST_F(DiskMixer, TheOfflineMixerMixesASoundAsTheDeviceDoes) {
    constexpr double kSoundSeconds = 0.1;
    struct Case {
        const char* name;
        int channels;
        int rate;
        float volume;
    };
    const Case cases[] = {
        {"mono at 0.3", 1, kRate, 0.3f},
        {"stereo at full volume", 2, kRate, 1.0f},
        {"mono at half the rate", 1, kRate / 2, 0.7f},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const auto frames = static_cast<std::size_t>(kSoundSeconds * test.rate);
        const std::string path =
            writeSound(noise(frames * test.channels), test.channels, test.rate);
        OfflineMixer offline(test.volume);
        std::ostringstream errors;
        offline.play(offline.load(path, errors));
        const std::vector<std::int16_t> expected = fromFirstSound(offline.mixUntil(0.5));
        // The resampler's last frames may come out silent.
        const std::size_t compared = bytesOf(kSoundSeconds) / 2 * 9 / 10;

        open(test.volume);
        const SoundOutput::Sound sound = mixer->load(path, errors);
        ASSERT_NE(sound, SoundOutput::kNoSound) << errors.str();
        const std::size_t started = mixedBytes();
        mixer->play(sound);
        waitForMix(started + bytesOf(kSoundSeconds) + kSettleBytes);
        const std::vector<std::int16_t> device = fromFirstSound(closeAndReadMix());

        ASSERT_GE(expected.size(), compared);
        ASSERT_GE(device.size(), compared);
        EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + compared, device.begin()));
    }
}

// Catches the offline mixer clamping the sum of the channels once rather than as each is added,
// as the device's mixer does: two loud sounds saturate before a third pulls the sum back.
TEST_F(DiskMixer, TheOfflineMixerClampsEachChannelsSumAsTheDeviceDoes) {
    constexpr double kSoundSeconds = 0.2;
    const auto frames = static_cast<std::size_t>(kSoundSeconds * kRate);
    std::vector<std::string> paths;
    for (const std::int16_t level : {30000, 30000, -30000}) {
        paths.push_back(writeSound(std::vector<std::int16_t>(2 * frames, level), 2, kRate));
    }
    OfflineMixer offline(1.0f);
    open(1.0f);
    std::ostringstream errors;
    std::vector<SoundOutput::Sound> sounds;
    for (const std::string& path : paths) {
        offline.play(offline.load(path, errors));
        sounds.push_back(mixer->load(path, errors));
    }
    const std::size_t started = mixedBytes();
    for (const SoundOutput::Sound sound : sounds) {
        mixer->play(sound);
    }
    waitForMix(started + bytesOf(kSoundSeconds) + kSettleBytes);
    const std::vector<std::int16_t> device = fromFirstSound(closeAndReadMix());
    const std::vector<std::int16_t> expected = offline.mixUntil(kSoundSeconds);

    // Halfway through, all three play on the device, even one started a buffer late.
    const std::size_t middle = frames;
    ASSERT_GT(device.size(), middle);
    EXPECT_EQ(device[middle], expected[middle]);
    EXPECT_NE(expected[middle], 30000) << "the case shows the order of clamping";
}
