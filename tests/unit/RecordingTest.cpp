#include "ScratchFile.h"
#include "replay/GameVersion.h"
#include "replay/HeadlessReplay.h"
#include "replay/RecordingEncoder.h"
#include "replay/RecordingReader.h"

#include <GLFW/glfw3.h>
#include <filesystem>
#include <fstream>
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

std::vector<std::uint8_t> encode(const RecordingHeader& header,
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
    full.commands = {PassCommand::keyReleased(GLFW_KEY_ENTER), PassCommand::zoom(-2.5),
                     PassCommand::keyReleased(GLFW_KEY_UNKNOWN)};
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
    };
    RecordingReader reader(encode(kHeader, passes));
    RecordingHeader header;
    ASSERT_TRUE(reader.readHeader(header)) << reader.problem();
    EXPECT_EQ(header, kHeader);
    RecordedPass pass;
    std::uint64_t wall = 0;
    for (const RecordedPass& expected : passes) {
        ASSERT_EQ(reader.next(pass), RecordingReader::Next::Pass) << reader.problem();
        // Wall time is kept only with full passes; the others carry the last one on.
        wall = expected.isQuiet() || expected.isPlainFrame() ? wall : expected.wallMilliseconds;
        RecordedPass withWall = expected;
        withWall.wallMilliseconds = wall;
        EXPECT_EQ(pass, withWall) << "pass " << reader.passesRead();
    }
    EXPECT_EQ(reader.next(pass), RecordingReader::Next::End);
}

TEST(Recording, DamagedFilesEndInOneLineAndAnExitCode) {
    const std::vector<std::uint8_t> good = encode(kHeader, {quiet(HeldKeys{})});
    const auto withTail = [&](std::vector<std::uint8_t> tail) {
        std::vector<std::uint8_t> bytes = good;
        bytes.insert(bytes.end(), tail.begin(), tail.end());
        return bytes;
    };
    std::vector<std::uint8_t> futureVersion = good;
    futureVersion[recording::kMagic.size()] = 2;
    std::vector<std::uint8_t> noise(300);
    for (std::size_t i = 0; i < noise.size(); ++i) {
        noise[i] = static_cast<std::uint8_t>(i * 167 + 13);
    }
    const std::vector<std::uint8_t> fullStart = encode(kHeader, {startWithWrongCheckpoint()});
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
        {"future version", futureVersion, 2, "format version 2 is not supported"},
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
        {"unknown record", withTail({0xC0}), 2, "unknown record"},
        {"another game", fullStart, 3,
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
        {"1.0.0", 1, 1, 0, false, 0.0f},
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
