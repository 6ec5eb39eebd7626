// The browser's WAV reader against the desktop's, SDL's as SDL_mixer reads: the page must sound as
// the desktop game does.
#include "audio/PcmWav.h"
#include "audio/WavReading.h"
#include "unit/ScratchFile.h"
#include "unit/TestWav.h"

#include <gtest/gtest.h>
#include <iterator>

namespace {

// SDL takes a mono sample through floating point to both sides and brings some a step nearer
// zero; the browser's reader copies it.
constexpr int kMonoSteps = 1;
constexpr std::size_t kDataSizeAt = 40;

std::vector<std::uint8_t> bytesOf(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void expectSameAsSdl(const std::filesystem::path& path, int steps) {
    std::string sdlReason;
    std::string ownReason;
    const auto bySdl = readInMixFormat(path.string(), sdlReason);
    const auto byOwn = readPcmWav(path.string(), ownReason);
    ASSERT_TRUE(bySdl && byOwn) << sdlReason << ownReason;
    ASSERT_EQ(byOwn->size(), bySdl->size());
    const auto differ =
        std::mismatch(byOwn->begin(), byOwn->end(), bySdl->begin(),
                      [steps](int own, int sdl) { return std::abs(own - sdl) <= steps; });
    EXPECT_TRUE(differ.first == byOwn->end()) << "sample " << differ.first - byOwn->begin();
}

} // namespace

// Catches a mono sample put on one side only or its bytes read in the wrong order, the sides of
// a stereo file swapped or altered, and frames lost at either end.
TEST(PcmWav, ReadsWhatSdlReads) {
    std::vector<std::int16_t> everySample;
    for (int sample = -32768; sample <= 32767; ++sample) {
        everySample.push_back(static_cast<std::int16_t>(sample));
    }
    const std::filesystem::path path = scratchFile("pcmwav.wav");
    for (const int channels : {1, 2}) {
        SCOPED_TRACE(channels);
        writeWav(path, everySample, channels);
        expectSameAsSdl(path, channels == 1 ? kMonoSteps : 0);
    }
    std::filesystem::remove(path);
    const std::filesystem::path sounds =
        std::filesystem::path(CHRONOCELL_SOURCE_DIR) / "assets/sounds";
    for (const auto& sound : std::filesystem::directory_iterator(sounds)) {
        SCOPED_TRACE(sound.path().string());
        expectSameAsSdl(sound.path(), kMonoSteps);
    }
}

// Catches the readable part of a damaged file played where the desktop refuses it (SDL, strict
// as the game sets it), a file of another rate or layout played at the wrong pitch or as noise
// rather than refused with what was expected, and a reader running past what it was given.
TEST(PcmWav, RefusesWhatItCannotPlayAsItIsAndSaysWhy) {
    struct Case {
        const char* name;
        int channels;
        int rate;
        void (*damage)(std::vector<std::uint8_t>&);
        const char* reasonHas;
    };
    const Case cases[] = {
        {"cut off", 1, 44100, [](auto& file) { file.pop_back(); }, "cut off"},
        {"half a frame over", 2, 44100,
         [](auto& file) {
             file.insert(file.end(), {1, 2});
             file[kDataSizeAt] += 2;
         },
         "cut off"},
        {"no RIFF header", 1, 44100, [](auto& file) { file.erase(file.begin()); }, "RIFF"},
        {"no data chunk", 1, 44100, [](auto& file) { file.resize(kDataSizeAt - 4); }, "no data"},
        {"another rate", 1, 22050, [](auto&) {}, "44100 Hz"},
        {"three channels", 3, 44100, [](auto&) {}, "mono or stereo"},
    };
    const std::filesystem::path path = scratchFile("pcmwav-damaged.wav");
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        writeWav(path, std::vector<std::int16_t>(30, 1000), test.channels, test.rate);
        std::vector<std::uint8_t> file = bytesOf(path);
        test.damage(file);
        std::string reason;
        EXPECT_FALSE(decodePcmWav(file, reason));
        EXPECT_NE(reason.find(test.reasonHas), std::string::npos) << reason;
    }
    std::filesystem::remove(path);
    std::string reason;
    EXPECT_FALSE(readPcmWav(path.string(), reason));
    EXPECT_NE(reason.find("cannot be opened"), std::string::npos) << reason;
}
