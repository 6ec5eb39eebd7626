// The browser's WAV reader against the desktop's, which reads through SDL as SDL_mixer does: the
// same file must give the same samples, so the page sounds as the desktop game does.
#include "audio/PcmWav.h"
#include "audio/WavReading.h"
#include "unit/ScratchFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string_view>

namespace {

// What a test file holds, and how it may be malformed.
struct WavShape {
    std::vector<std::int16_t> samples;
    int channels = 1;
    int rate = 44100;
    int bits = 16;
    // A chunk of this many bytes (odd ones are padded) between the format and the data.
    std::size_t extraChunkBytes = 0;
    // Bytes of the data chunk beyond whole samples, or missing from what its header declares.
    std::size_t strayDataBytes = 0;
    std::size_t missingDataBytes = 0;
};

void put(std::vector<std::uint8_t>& bytes, std::uint32_t value, int size) {
    for (int byte = 0; byte < size; ++byte) {
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * byte)));
    }
}

void putTag(std::vector<std::uint8_t>& bytes, std::string_view tag) {
    for (const char letter : tag) {
        bytes.push_back(static_cast<std::uint8_t>(letter));
    }
}

std::vector<std::uint8_t> wavBytes(const WavShape& shape) {
    const auto bytesPerSample = static_cast<std::uint32_t>(shape.bits / 8);
    const auto frameBytes = bytesPerSample * static_cast<std::uint32_t>(shape.channels);
    std::vector<std::uint8_t> bytes;
    putTag(bytes, "RIFF");
    put(bytes, 0, 4);
    putTag(bytes, "WAVE");
    putTag(bytes, "fmt ");
    put(bytes, 16, 4);
    put(bytes, 1, 2);
    put(bytes, static_cast<std::uint32_t>(shape.channels), 2);
    put(bytes, static_cast<std::uint32_t>(shape.rate), 4);
    put(bytes, static_cast<std::uint32_t>(shape.rate) * frameBytes, 4);
    put(bytes, frameBytes, 2);
    put(bytes, static_cast<std::uint32_t>(shape.bits), 2);
    if (shape.extraChunkBytes > 0) {
        putTag(bytes, "LIST");
        put(bytes, static_cast<std::uint32_t>(shape.extraChunkBytes), 4);
        bytes.insert(bytes.end(), shape.extraChunkBytes + shape.extraChunkBytes % 2, 'x');
    }
    const std::size_t dataBytes = shape.samples.size() * bytesPerSample + shape.strayDataBytes;
    putTag(bytes, "data");
    put(bytes, static_cast<std::uint32_t>(dataBytes), 4);
    for (const std::int16_t sample : shape.samples) {
        put(bytes, static_cast<std::uint16_t>(sample), static_cast<int>(bytesPerSample));
    }
    bytes.insert(bytes.end(), shape.strayDataBytes, 0x7f);
    bytes.resize(bytes.size() - shape.missingDataBytes);
    const auto riffBytes = static_cast<std::uint32_t>(bytes.size() - 8);
    std::copy_n(reinterpret_cast<const std::uint8_t*>(&riffBytes), 4, bytes.begin() + 4);
    return bytes;
}

std::filesystem::path writeScratch(const std::vector<std::uint8_t>& bytes) {
    const std::filesystem::path path = scratchFile("pcmwav.wav");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::ptrdiff_t>(bytes.size()));
    return path;
}

std::vector<std::int16_t> everySample() {
    std::vector<std::int16_t> samples;
    for (int sample = -32768; sample <= 32767; ++sample) {
        samples.push_back(static_cast<std::int16_t>(sample));
    }
    return samples;
}

// Left and right apart, and each frame apart from its neighbours.
std::vector<std::int16_t> distinctSides(std::size_t frames) {
    std::vector<std::int16_t> samples;
    for (std::size_t frame = 0; frame < frames; ++frame) {
        samples.push_back(static_cast<std::int16_t>(100 + frame));
        samples.push_back(static_cast<std::int16_t>(-3000 - 7 * static_cast<int>(frame)));
    }
    return samples;
}

// SDL takes a mono sample through floating point on its way to both sides, and brings some a step
// nearer zero; the browser's reader copies it.
constexpr int kMonoSteps = 1;

void expectSameAsSdl(const std::string& path, int steps) {
    std::string sdlReason;
    std::string ownReason;
    const auto bySdl = readInMixFormat(path, sdlReason);
    const auto byOwn = readPcmWav(path, ownReason);
    ASSERT_TRUE(bySdl) << sdlReason;
    ASSERT_TRUE(byOwn) << ownReason;
    ASSERT_EQ(byOwn->size(), bySdl->size());
    const auto differ =
        std::mismatch(byOwn->begin(), byOwn->end(), bySdl->begin(),
                      [steps](int own, int sdl) { return std::abs(own - sdl) <= steps; });
    EXPECT_TRUE(differ.first == byOwn->end())
        << "sample " << differ.first - byOwn->begin() << ": " << *differ.first << " where SDL has "
        << *differ.second;
}

} // namespace

// Catches a mono sample put on one side only or its bytes read in the wrong order, the sides of a
// stereo file swapped or altered, and a padded chunk skipped to the wrong place.
TEST(PcmWav, ReadsTheSamplesSdlReads) {
    struct Case {
        const char* name;
        WavShape shape;
        int steps;
    };
    const Case cases[] = {
        {"mono, every value", {.samples = everySample()}, kMonoSteps},
        {"stereo", {.samples = distinctSides(1000), .channels = 2}, 0},
        {"an odd chunk before the data",
         {.samples = distinctSides(10), .channels = 2, .extraChunkBytes = 5},
         0},
        {"an odd chunk before mono data",
         {.samples = everySample(), .extraChunkBytes = 3},
         kMonoSteps},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const std::filesystem::path path = writeScratch(wavBytes(test.shape));
        expectSameAsSdl(path.string(), test.steps);
        std::filesystem::remove(path);
    }
}

TEST(PcmWav, ReadsEverySoundOfTheGameAsSdlDoes) {
    const std::filesystem::path sounds =
        std::filesystem::path(CHRONOCELL_SOURCE_DIR) / "assets/sounds";
    int read = 0;
    for (const auto& entry : std::filesystem::directory_iterator(sounds)) {
        if (entry.path().extension() == ".wav") {
            SCOPED_TRACE(entry.path().string());
            expectSameAsSdl(entry.path().string(), kMonoSteps);
            ++read;
        }
    }
    EXPECT_GE(read, 10);
}

// Catches a file of another rate or sample size played at the wrong pitch or as noise instead
// of refused with what was expected, and a reader that runs past the end of what it was given.
TEST(PcmWav, RefusesWhatItCannotPlayAsItIsAndSaysWhy) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> file;
        const char* reasonHas;
    };
    const std::vector<std::uint8_t> whole = wavBytes({.samples = distinctSides(8)});
    const Case cases[] = {
        {"another rate", wavBytes({.samples = distinctSides(8), .rate = 22050}), "44100 Hz"},
        {"8-bit samples", wavBytes({.samples = distinctSides(8), .bits = 8}), "16-bit"},
        {"three channels", wavBytes({.samples = distinctSides(9), .channels = 3}),
         "mono or stereo"},
        {"no data chunk", std::vector<std::uint8_t>(whole.begin(), whole.begin() + 36), "no data"},
        {"format cut off", std::vector<std::uint8_t>(whole.begin(), whole.begin() + 30), "cut off"},
        {"not a WAV file", std::vector<std::uint8_t>(whole.begin() + 4, whole.end()), "RIFF"},
        {"empty", {}, "RIFF"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::string reason;
        EXPECT_FALSE(decodePcmWav(test.file, reason));
        EXPECT_NE(reason.find(test.reasonHas), std::string::npos) << reason;
    }
}

// Catches the readable part of a damaged file played where the desktop, strict as the game sets
// SDL, refuses the file.
TEST(PcmWav, RefusesACutOffFileAsSdlDoes) {
    struct Case {
        const char* name;
        WavShape shape;
    };
    const Case cases[] = {
        {"data shorter than its header says", {.samples = everySample(), .missingDataBytes = 2}},
        {"half a mono frame over", {.samples = everySample(), .strayDataBytes = 1}},
        {"half a stereo frame over",
         {.samples = distinctSides(10), .channels = 2, .strayDataBytes = 2}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const std::filesystem::path path = writeScratch(wavBytes(test.shape));
        std::string sdlReason;
        std::string ownReason;
        EXPECT_FALSE(readInMixFormat(path.string(), sdlReason));
        EXPECT_FALSE(readPcmWav(path.string(), ownReason));
        EXPECT_NE(ownReason.find("cut off"), std::string::npos) << ownReason;
        std::filesystem::remove(path);
    }
}

TEST(PcmWav, AFileThatCannotBeOpenedIsRefusedWithWhy) {
    std::string reason;
    EXPECT_FALSE(
        readPcmWav((std::filesystem::temp_directory_path() / "no-such.wav").string(), reason));
    EXPECT_NE(reason.find("cannot be opened"), std::string::npos) << reason;
}
