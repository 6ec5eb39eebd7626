// The browser's WAV reader against the desktop's, SDL's as SDL_mixer reads: the page must sound as
// the desktop game does.
#include "audio/PcmWav.h"
#include "audio/WavReading.h"
#include "unit/ScratchFile.h"
#include "unit/TestWav.h"

#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <numeric>

// Catches a mono sample put on one side only or its bytes read in the wrong order, the sides of
// a stereo file swapped or altered, and frames lost at either end.
TEST(PcmWav, ReadsWhatSdlReads) {
    std::vector<std::int16_t> everySample(65536);
    std::iota(everySample.begin(), everySample.end(), std::numeric_limits<std::int16_t>::min());
    const std::filesystem::path path = scratchFile("pcmwav.wav");
    for (const int channels : {1, 2}) {
        SCOPED_TRACE(channels);
        writeWav(path, everySample, channels);
        std::string sdlReason;
        std::string ownReason;
        const auto bySdl = readInMixFormat(path.string(), sdlReason);
        const auto byOwn = readPcmWav(path.string(), ownReason);
        ASSERT_TRUE(bySdl && byOwn) << sdlReason << ownReason;
        ASSERT_EQ(byOwn->size(), bySdl->size());
        // SDL takes a mono sample through floating point to both sides and brings some a step
        // nearer zero; the browser's reader copies it.
        for (std::size_t sample = 0; sample < byOwn->size(); ++sample) {
            ASSERT_LE(std::abs((*byOwn)[sample] - (*bySdl)[sample]), channels == 1 ? 1 : 0)
                << "sample " << sample;
        }
    }
    std::filesystem::remove(path);
}

// Catches the readable part of a damaged file played where the desktop refuses it (SDL, strict
// as the game sets it), a file of another rate or layout played at the wrong pitch or as noise
// rather than refused with what was expected, and a reader running past what it was given.
TEST(PcmWav, RefusesWhatItCannotPlayAsItIsAndSaysWhy) {
    using Bytes = std::vector<std::uint8_t>;
    constexpr std::size_t kDataSizeAt = 40;
    const struct {
        const char* name;
        int channels;
        int rate;
        void (*damage)(Bytes&);
        const char* reasonHas;
    } cases[] = {
        {"cut off", 1, 44100, [](Bytes& file) { file.pop_back(); }, "cut off"},
        {"half a frame short", 2, 44100, [](Bytes& file) { file[kDataSizeAt] -= 2; }, "cut off"},
        {"no RIFF header", 1, 44100, [](Bytes& file) { file[0] = 'X'; }, "RIFF"},
        {"no data chunk", 1, 44100, [](Bytes& file) { file.resize(kDataSizeAt - 4); }, "no data"},
        {"another rate", 1, 22050, [](Bytes&) {}, "44100 Hz"},
        {"three channels", 3, 44100, [](Bytes&) {}, "mono or stereo"},
    };
    const std::filesystem::path path = scratchFile("pcmwav-damaged.wav");
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        writeWav(path, std::vector<std::int16_t>(30, 1000), test.channels, test.rate);
        std::ifstream stream(path, std::ios::binary);
        Bytes file{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
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
