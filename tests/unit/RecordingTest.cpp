#include "ScratchFile.h"
#include "replay/GameVersion.h"
#include "replay/HeadlessReplay.h"
#include "replay/RecordingEncoder.h"
#include "replay/RecordingReader.h"

#include <GLFW/glfw3.h>
#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>

namespace {

const RecordingHeader kHeader{"1.0.0", 1024, 500, 75, true, 0.7f};

std::int64_t ticks(double seconds) {
    return recording::ticksOf(seconds);
}

HeldKeys held(bool w, bool a, bool s, bool d, bool space, bool t) {
    return HeldKeys{w, a, s, d, space, t};
}

RecordedPass quiet(const HeldKeys& keys) {
    RecordedPass pass;
    pass.held = keys;
    return pass;
}

RecordedPass frame(const HeldKeys& keys, std::vector<std::int64_t> reads) {
    RecordedPass pass = quiet(keys);
    pass.clockReads = std::move(reads);
    return pass;
}

// A recording still being written: no closing record yet.
std::vector<std::uint8_t> encodeOpen(const RecordingHeader& header,
                                     const std::vector<RecordedPass>& passes) {
    std::vector<std::uint8_t> bytes;
    RecordingEncoder encoder(bytes);
    encoder.writeHeader(header);
    for (const RecordedPass& pass : passes) {
        encoder.writePass(pass);
    }
    encoder.finishRun();
    return bytes;
}

// A whole recording, closed.
std::vector<std::uint8_t> encode(const RecordingHeader& header,
                                 const std::vector<RecordedPass>& passes) {
    std::vector<std::uint8_t> bytes = encodeOpen(header, passes);
    bytes.push_back(0xC0);
    return bytes;
}

// A pass with a checkpoint, which makes it a full pass whatever else it holds.
RecordedPass fullPass(std::vector<std::int64_t> reads) {
    RecordedPass pass = frame(HeldKeys{}, std::move(reads));
    pass.checkpoint = Checkpoint{7u, 1.0f, 2.0f, 3.0f};
    return pass;
}

// Reads `bytes` back whole and expects `written` and `passes`, each pass with the wall time a
// reader gives it: kept with full passes only, carried on by the others.
void expectReadBack(std::vector<std::uint8_t> bytes, const RecordingHeader& written,
                    const std::vector<RecordedPass>& passes) {
    RecordingReader reader(std::move(bytes));
    RecordingHeader header;
    ASSERT_TRUE(reader.readHeader(header)) << reader.problem();
    EXPECT_EQ(header, written);
    RecordedPass pass;
    std::uint64_t wall = 0;
    for (const RecordedPass& expected : passes) {
        ASSERT_EQ(reader.next(pass), RecordingReader::Next::Pass) << reader.problem();
        wall = expected.isQuiet() || expected.isPlainFrame() ? wall : expected.wallMilliseconds;
        RecordedPass withWall = expected;
        withWall.wallMilliseconds = wall;
        ASSERT_EQ(pass, withWall) << "pass " << reader.passesRead();
    }
    EXPECT_EQ(reader.next(pass), RecordingReader::Next::End);
}

// A header as a hand-made or damaged file may hold it, field by field, then one quiet pass.
struct RawHeader {
    std::uint64_t formatVersion = recording::kFormatVersion;
    std::uint64_t versionLength = 5;
    std::uint64_t width = 800;
    std::uint64_t height = 600;
    std::uint64_t refreshRate = 60;
    std::uint8_t fullscreen = 0;
    float brightness = 0.5f;
};

void appendVarint(std::vector<std::uint8_t>& bytes, std::uint64_t value) {
    for (; value >= 0x80; value >>= 7) {
        bytes.push_back(static_cast<std::uint8_t>(value | 0x80));
    }
    bytes.push_back(static_cast<std::uint8_t>(value));
}

std::vector<std::uint8_t> rawFile(const RawHeader& raw) {
    std::vector<std::uint8_t> bytes(recording::kMagic.begin(), recording::kMagic.end());
    appendVarint(bytes, raw.formatVersion);
    appendVarint(bytes, raw.versionLength);
    bytes.insert(bytes.end(), raw.versionLength, 'v');
    appendVarint(bytes, raw.width);
    appendVarint(bytes, raw.height);
    appendVarint(bytes, raw.refreshRate);
    bytes.push_back(raw.fullscreen);
    const auto bits = std::bit_cast<std::uint32_t>(raw.brightness);
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
    }
    bytes.insert(bytes.end(), {0x00, 0x01});
    return bytes;
}

// A game start whose checkpoint cannot match what the rules draw.
RecordedPass startWithWrongCheckpoint() {
    RecordedPass pass = frame(HeldKeys{}, {ticks(0.0), ticks(1.0 / 60.0)});
    pass.commands = {PassCommand::keyReleased(GLFW_KEY_ENTER)};
    pass.checkpoint = Checkpoint{12345u, 1.0f, 1.0f, 1.0f};
    pass.wallMilliseconds = 40;
    return pass;
}

} // namespace

TEST(Recording, PassesComeBackAsTheyWereWritten) {
    RecordedPass full = frame(held(true, false, true, false, false, true),
                              {ticks(-5.0), ticks(90.000123), ticks(7e-6)});
    full.commands = {PassCommand::keyReleased(GLFW_KEY_ENTER),
                     PassCommand::zoom(-2.5),
                     PassCommand::keyReleased(GLFW_KEY_UNKNOWN),
                     PassCommand::zoom(1000.0),
                     PassCommand::zoom(-1000.0),
                     PassCommand::keyReleased(1023)};
    full.checkpoint = Checkpoint{0xDEADBEEFu, 11.0f, 0.25f, -3.5f};
    full.wallMilliseconds = 123456;
    // The most reads a pass with one command may carry: a game started by each command and more.
    RecordedPass manyReads = frame(HeldKeys{}, std::vector<std::int64_t>(9, ticks(3.0)));
    manyReads.commands = {PassCommand::keyReleased(GLFW_KEY_ENTER)};
    manyReads.wallMilliseconds = 123500;
    RecordedPass onlyCheckpoint = quiet(HeldKeys{});
    onlyCheckpoint.checkpoint = Checkpoint{1u, 2.0f, 3.0f, 4.0f};
    onlyCheckpoint.wallMilliseconds = 123999;
    const std::vector<RecordedPass> passes = {
        quiet(HeldKeys{}),
        quiet(HeldKeys{}),
        quiet(held(false, true, false, false, false, false)),
        frame(held(false, false, false, true, false, false), {ticks(1.0 / 60.0)}),
        frame(held(false, false, false, false, true, false), {ticks(2.0 / 60.0)}),
        frame(HeldKeys{}, {ticks(0.05)}),
        full,
        manyReads,
        quiet(HeldKeys{}),
        frame(HeldKeys{}, {ticks(0.0)}),
        onlyCheckpoint,
        // The clock's whole range.
        frame(HeldKeys{}, {ticks(1e9)}),
        frame(HeldKeys{}, {ticks(-1e9)}),
    };
    expectReadBack(encode(kHeader, passes), kHeader, passes);
}

// Catches a number that loses or gains a byte's worth where its encoding grows a byte, in any
// field, and one written longer or shorter than its LEB128 form.
TEST(Recording, EveryNumberComesBackAcrossItsByteBoundaries) {
    // Values with the length of their unsigned LEB128 form, and of their zigzag form.
    const std::vector<std::pair<std::int64_t, std::size_t>> unsignedValues = {
        {0, 1},         {1, 1},         {127, 1},        {128, 2},        {16383, 2},
        {16384, 3},     {65536, 3},     {65544, 3},      {2097151, 3},    {2097152, 4},
        {268435455, 4}, {268435456, 5}, {4294967295, 5}, {4294967296, 5},
    };
    const std::vector<std::pair<std::int64_t, std::size_t>> signedValues = {
        {-1, 1},         {63, 1},        {-64, 1},        {64, 2},          {-65, 2},
        {1023, 2},       {8191, 2},      {-8192, 2},      {8192, 3},        {-8193, 3},
        {1048575, 3},    {-1048576, 3},  {1048576, 4},    {-1048577, 4},    {134217727, 4},
        {-134217728, 4}, {134217728, 5}, {-134217729, 5}, {-2147483648, 5},
    };
    // The recording that holds one field at a value, and the bytes besides the field's own that
    // grow with the value.
    struct Holding {
        RecordingHeader header = kHeader;
        std::vector<RecordedPass> passes;
        std::size_t growingBytes = 0;
    };
    // A first read far from 0, so that the residual of the second one reaches every length.
    constexpr std::int64_t kFirst = 1 << 28;
    struct Field {
        const char* name;
        bool isSigned;
        std::int64_t lowest;
        std::int64_t highest;
        std::function<void(Holding&, std::int64_t)> hold;
    };
    using Value = std::int64_t;
    const std::vector<Field> fields = {
        {"window width", false, 1, 65536,
         [](Holding& h, Value v) { h.header.width = static_cast<int>(v); }},
        {"window height", false, 1, 65536,
         [](Holding& h, Value v) { h.header.height = static_cast<int>(v); }},
        {"refresh rate", false, 0, 4294967295,
         [](Holding& h, Value v) {
             h.header.refreshRate = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
         }},
        {"wall-time step", false, 0, 4294967296,
         [](Holding& h, Value v) {
             h.passes = {fullPass({}), fullPass({})};
             h.passes[1].wallMilliseconds = static_cast<std::uint64_t>(v);
         }},
        {"command count", false, 0, 65536,
         [](Holding& h, Value v) {
             h.passes = {fullPass({})};
             h.passes[0].commands.assign(static_cast<std::size_t>(v), PassCommand::keyReleased(1));
             h.growingBytes = 2 * static_cast<std::size_t>(v);
         }},
        {"clock read count", false, 0, 65544,
         [](Holding& h, Value v) {
             // As many commands as a pass holds, for room to read the clock that often.
             h.passes = {fullPass(std::vector<std::int64_t>(static_cast<std::size_t>(v), 0))};
             h.passes[0].commands.assign(recording::kMaxCommandsPerPass,
                                         PassCommand::keyReleased(1));
             h.growingBytes = static_cast<std::size_t>(v);
         }},
        {"random state", false, 0, 4294967295,
         [](Holding& h, Value v) {
             h.passes = {fullPass({})};
             h.passes[0].checkpoint->randomState = static_cast<std::uint32_t>(v);
         }},
        {"key code", true, -1, 1023,
         [](Holding& h, Value v) {
             h.passes = {fullPass({})};
             h.passes[0].commands = {PassCommand::keyReleased(static_cast<int>(v))};
         }},
        {"clock residual of a frame", true, INT32_MIN, kFirst,
         [](Holding& h, Value v) {
             h.passes = {frame(HeldKeys{}, {kFirst}), frame(HeldKeys{}, {2 * kFirst + v})};
         }},
        {"clock residual of a full pass", true, INT32_MIN, kFirst,
         [](Holding& h, Value v) {
             h.passes = {fullPass({kFirst, 2 * kFirst + v})};
         }},
    };
    for (const Field& field : fields) {
        std::optional<std::size_t> otherBytes;
        for (const auto& [value, length] : field.isSigned ? signedValues : unsignedValues) {
            if (value < field.lowest || value > field.highest) {
                continue;
            }
            SCOPED_TRACE(std::string(field.name) + " " + std::to_string(value));
            Holding holding;
            field.hold(holding, value);
            const std::vector<std::uint8_t> bytes = encode(holding.header, holding.passes);
            const std::size_t others = bytes.size() - holding.growingBytes - length;
            EXPECT_EQ(others, otherBytes.value_or(others))
                << "the number is not " << length << " bytes long";
            otherBytes = others;
            expectReadBack(bytes, holding.header, holding.passes);
        }
    }
}

// Catches a run length that loses a byte's worth at an edge, or a run that ends a pass early or
// late.
TEST(Recording, QuietRunsComeBackAtEveryLength) {
    const std::size_t header = encodeOpen(kHeader, {}).size();
    const RecordedPass after = frame(HeldKeys{}, {0});
    for (const auto& [length, bytes] :
         std::vector<std::pair<std::uint64_t, std::size_t>>{{1, 2},
                                                            {127, 2},
                                                            {128, 3},
                                                            {16383, 3},
                                                            {16384, 4},
                                                            {2097151, 4},
                                                            {2097152, 5},
                                                            {recording::kMaxQuietRun, 5}}) {
        SCOPED_TRACE(length);
        std::vector<std::uint8_t> file;
        RecordingEncoder encoder(file);
        encoder.writeHeader(kHeader);
        const RecordedPass run = quiet(held(true, false, false, true, false, false));
        for (std::uint64_t i = 0; i < length; ++i) {
            encoder.writePass(run);
        }
        encoder.writePass(after);
        encoder.writeClosing();
        EXPECT_EQ(file.size(), header + bytes + 2 + 1);
        RecordingReader reader(std::move(file));
        RecordingHeader read;
        ASSERT_TRUE(reader.readHeader(read));
        RecordedPass pass;
        std::uint64_t quietPasses = 0;
        while (reader.next(pass) == RecordingReader::Next::Pass && pass == run) {
            ++quietPasses;
        }
        EXPECT_EQ(quietPasses, length);
        EXPECT_EQ(pass, after);
        EXPECT_EQ(reader.next(pass), RecordingReader::Next::End);
    }
}

// Catches a reader or a writer that starts the prediction of clock reads anew, or carries the
// wrong read or step on, at a pass, a run of quiet passes, a full pass or a new game: the
// residuals are the documented ones, byte for byte, and every read comes back.
TEST(Recording, ClockReadsArePredictedFromTheTwoBeforeAcrossPassesAndGames) {
    const auto gameStart = [](std::vector<std::int64_t> reads) {
        RecordedPass pass = fullPass(std::move(reads));
        pass.checkpoint = Checkpoint{};
        return pass;
    };
    const auto at = [](std::int64_t read) { return frame(HeldKeys{}, {read}); };
    // A game at frame times of 16 and 17 ticks and a freeze of 20, with quiet passes between
    // reads; the screen after it; the clock set back for the next game.
    const std::vector<RecordedPass> passes = {gameStart({10, 10}),
                                              at(26),
                                              at(43),
                                              quiet(HeldKeys{}),
                                              quiet(HeldKeys{}),
                                              at(59),
                                              frame(HeldKeys{}, {75, 95}),
                                              at(111),
                                              quiet(HeldKeys{}),
                                              gameStart({3, 3}),
                                              at(19),
                                              at(35)};
    // Each read less the last read plus the last step, zigzag encoded.
    const std::vector<std::uint8_t> checkpoint(1 + 12, 0);
    std::vector<std::uint8_t> expected = {0x80, 0x00, 0x00, 0x02, 0x14, 0x13, 0x01};
    expected.insert(expected.end(), checkpoint.begin(), checkpoint.end());
    expected.insert(expected.end(), {0x40, 0x20, 0x40, 0x02, 0x00, 0x02, 0x40, 0x01, 0x80, 0x00,
                                     0x00, 0x02, 0x00, 0x08, 0x00, 0x40, 0x07, 0x00, 0x01, 0x80,
                                     0x00, 0x00, 0x02, 0xF7, 0x01, 0xD8, 0x01, 0x01});
    expected.insert(expected.end(), checkpoint.begin(), checkpoint.end());
    expected.insert(expected.end(), {0x40, 0x20, 0x40, 0x00, 0xC0});
    const std::vector<std::uint8_t> bytes = encode(kHeader, passes);
    const auto header = static_cast<std::ptrdiff_t>(encodeOpen(kHeader, {}).size());
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + header, bytes.end()), expected);
    expectReadBack(bytes, kHeader, passes);
}

TEST(Recording, DamagedFilesEndInOneLineAndAnExitCode) {
    const std::vector<std::uint8_t> good = encodeOpen(kHeader, {quiet(HeldKeys{})});
    const auto withTail = [&](std::vector<std::uint8_t> tail) {
        std::vector<std::uint8_t> bytes = good;
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        return bytes;
    };
    std::vector<std::uint8_t> futureVersion = good;
    futureVersion[recording::kMagic.size()] = 3;
    // Version 1 with a bit past the 64th: no number a writer makes.
    std::vector<std::uint8_t> pastSixtyFourBits = good;
    const auto version = pastSixtyFourBits.begin() + recording::kMagic.size();
    *version = 0x81;
    pastSixtyFourBits.insert(version + 1, {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x02});
    std::vector<std::uint8_t> noise(300);
    for (std::size_t i = 0; i < noise.size(); ++i) {
        noise[i] = static_cast<std::uint8_t>(i * 167 + 13);
    }
    const std::vector<std::uint8_t> fullStart = encodeOpen(kHeader, {startWithWrongCheckpoint()});
    // A pass the writer writes as it stands, though the game never hands it such values.
    const auto withPass = [](const RecordedPass& pass) { return encode(kHeader, {pass}); };
    const auto commandPass = [](const PassCommand& command) {
        RecordedPass pass = fullPass({});
        pass.commands = {command};
        return pass;
    };
    struct Case {
        const char* name;
        std::optional<std::vector<std::uint8_t>> bytes;
        int exitCode;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"missing", std::nullopt, 2, "no such file"},
        {"empty", std::vector<std::uint8_t>{}, 2, "the file is empty"},
        {"wrong magic", std::vector<std::uint8_t>{'P', 'K', 3, 4, 0, 0, 0, 0, 1}, 2, "magic"},
        {"random bytes", noise, 2, "magic"},
        {"future version", futureVersion, 2,
         "format version 3 is not supported (this game reads versions 1 to 2)"},
        {"header cut", std::vector<std::uint8_t>(good.begin(), good.begin() + 9), 2,
         "ends inside its header"},
        {"version past the end",
         std::vector<std::uint8_t>{'C', 'C', 'R', 'E', 'C', 0x0D, 0x0A, 0x1A, 1, 40, '1'}, 2,
         "ends inside its header"},
        {"record cut", std::vector<std::uint8_t>(fullStart.begin(), fullStart.end() - 3), 0,
         "ends inside a record at byte " + std::to_string(good.size() - 2) + " of " +
             std::to_string(fullStart.size() - 3) + ", after pass 0"},
        {"absurd run", withTail({0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F}), 2, "absurd run"},
        {"empty run", withTail({0x00, 0x00}), 2, "empty run"},
        {"absurd commands", withTail({0x80, 0x00, 0x81, 0x80, 0x04, 0x00}), 2,
         "absurd command count 65537"},
        {"absurd reads", withTail({0x80, 0x00, 0x00, 0x09}), 2, "absurd clock read count 9"},
        {"absurd reads for its commands", withTail({0x80, 0x00, 0x01, 0x00, 0x02, 0x0A}), 2,
         "absurd clock read count 10"},
        {"absurd wall-time step", withTail({0x80, 0x81, 0x80, 0x80, 0x80, 0x10, 0x00}), 2,
         "absurd wall-time step 4294967297"},
        {"wall time past its limit in two steps",
         withTail({0x80, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 0x00, 0x00, 0x00, 0x80, 0x02, 0x00}), 2,
         "absurd wall-time step 2"},
        {"too many quiet passes", withTail({0x00, 0xFF, 0xFF, 0xFF, 0x07, 0x00, 0x01}), 2,
         "damaged after pass 16777216: more than 16777216 quiet passes in all"},
        {"absurd time", withTail({0x40, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01}), 2,
         "absurd clock value"},
        {"endless number", withTail(std::vector<std::uint8_t>(12, 0x80)), 2, "too long"},
        {"closing record with held keys", withTail({0xC1}), 2, "damaged closing record"},
        {"bytes after the closing record", withTail({0xC0, 0x00}), 2,
         "damaged after pass 1: 1 bytes after the closing record"},
        {"format version 0", rawFile({.formatVersion = 0}), 2, "format version 0 is not supported"},
        {"a number past 64 bits", pastSixtyFourBits, 2, "a number is too long"},
        {"the largest format version", rawFile({.formatVersion = UINT64_MAX}), 2,
         "format version 18446744073709551615 is not supported"},
        {"game version too long", rawFile({.versionLength = 65}), 2, "absurd version length 65"},
        {"no width", rawFile({.width = 0}), 2, "damaged settings in the header"},
        {"too wide", rawFile({.width = 65537}), 2, "absurd window width 65537"},
        {"no height", rawFile({.height = 0}), 2, "damaged settings in the header"},
        {"too high", rawFile({.height = 65537}), 2, "absurd window height 65537"},
        {"refresh rate beyond 32 bits", rawFile({.refreshRate = 1ull << 32}), 2,
         "absurd refresh rate 4294967296"},
        {"fullscreen neither on nor off", rawFile({.fullscreen = 2}), 2, "damaged settings"},
        {"brightness no number", rawFile({.brightness = std::numeric_limits<float>::quiet_NaN()}),
         2, "damaged settings"},
        {"brightness infinite", rawFile({.brightness = std::numeric_limits<float>::infinity()}), 2,
         "damaged settings"},
        {"key code 1024", withPass(commandPass(PassCommand::keyReleased(1024))), 2,
         "absurd key code"},
        {"key code -2", withPass(commandPass(PassCommand::keyReleased(-2))), 2, "absurd key code"},
        {"wheel turn past 1000",
         withPass(commandPass(PassCommand::zoom(std::nextafter(1000.0, 2000.0)))), 2,
         "absurd wheel turn"},
        {"wheel turn no number",
         withPass(commandPass(PassCommand::zoom(std::numeric_limits<double>::quiet_NaN()))), 2,
         "absurd wheel turn"},
        {"time past 10^9 s", withPass(frame(HeldKeys{}, {ticks(std::nextafter(1e9f, 2e9f))})), 2,
         "absurd clock value"},
        {"time before -10^9 s", withPass(frame(HeldKeys{}, {ticks(std::nextafter(-1e9f, -2e9f))})),
         2, "absurd clock value"},
        {"another game", encode(kHeader, {startWithWrongCheckpoint()}), 3,
         "replay diverged at frame 1 (recorded by version 1.0.0, replayed by version " +
             std::string(gameVersion()) + ")\n"},
    };
    const auto path = scratchFile("chronocell_damaged.ccr");
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::filesystem::remove(path);
        if (test.bytes) {
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(test.bytes->data()),
                       static_cast<std::streamsize>(test.bytes->size()));
        }
        std::ostringstream out;
        std::ostringstream errors;
        const int exitCode = replayHeadless(path.string(), out, errors);
        const std::string err = errors.str();
        EXPECT_EQ(exitCode, test.exitCode);
        EXPECT_NE(err.find(test.message), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
    std::filesystem::remove(path);
    std::ostringstream out;
    std::ostringstream errors;
    EXPECT_EQ(replayHeadless(std::filesystem::temp_directory_path().string(), out, errors), 2);
    EXPECT_NE(errors.str().find("not a file"), std::string::npos);
}

// Any refresh rate the settings file may hold, any window side the reader takes, comes back:
// a game recorded with them must replay.
TEST(Recording, HeaderSettingsComeBackWithinTheirWholeRange) {
    const std::vector<RecordingHeader> headers = {
        {"", 1, 1, 0, false, 0.0f},
        {"1.0.0", 65536, 65536, 1000, true, 1.0f},
        {"1.0.0", 800, 600, 1440, false, 0.3f},
        {"1.0.0", 800, 600, -5, false, 0.3f},
        {"1.0.0", 800, 600, std::numeric_limits<std::int32_t>::max(), false, 0.3f},
        {"1.0.0", 800, 600, std::numeric_limits<std::int32_t>::min(), false, 0.3f},
        {std::string(recording::kMaxVersionLength, 'v'), 800, 600, 60, false, 0.3f},
    };
    for (const RecordingHeader& written : headers) {
        SCOPED_TRACE(written.refreshRate);
        RecordingReader reader(encode(written, {quiet(HeldKeys{})}));
        RecordingHeader read;
        ASSERT_TRUE(reader.readHeader(read)) << reader.problem();
        EXPECT_EQ(read, written);
    }
}

// Catches a verifier that stops at the first bad file, loses the lines of the good ones, or
// reports a milder exit code than the worst file deserves.
TEST(Recording, EachFileReplaysInTurnWithTheWorstExitCode) {
    const std::string replays = std::string(CHRONOCELL_SOURCE_DIR) + "/tests/replays/";
    const auto text = [](const std::string& path) {
        std::ifstream file(path);
        return std::string{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    };
    const auto diverging = scratchFile("chronocell_diverging.ccr");
    const std::vector<std::uint8_t> bytes = encode(kHeader, {startWithWrongCheckpoint()});
    std::ofstream(diverging, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    const std::string won = replays + "won.ccr";
    const std::string lost = replays + "lost.ccr";
    const std::string missing = replays + "missing.ccr";
    struct Case {
        std::vector<std::string> paths;
        int exitCode;
    };
    const std::vector<Case> cases = {
        {{won, lost}, kExitPlayed},
        {{won, missing, lost}, kExitUnreadableRecording},
        {{diverging.string(), won, missing, lost}, kExitReplayDiverged},
        {{won, missing, diverging.string(), lost}, kExitReplayDiverged},
    };
    for (const Case& test : cases) {
        std::ostringstream out;
        std::ostringstream errors;
        EXPECT_EQ(replayEachHeadless(test.paths, out, errors), test.exitCode);
        EXPECT_EQ(out.str(), text(replays + "won.txt") + text(replays + "lost.txt"));
    }
    std::filesystem::remove(diverging);
}
