#include "game/KeyCodes.h"
#include "replay/GameVersion.h"
#include "replay/HeadlessReplay.h"
#include "replay/RecordingEncoder.h"
#include "replay/RecordingReader.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

// A real recording changed in one place and written again: the replay stops at the pass that
// departed from its record, and only there.

namespace {

const std::string kLost = std::string(CHRONOCELL_SOURCE_DIR) + "/tests/replays/lost";

std::vector<RecordedPass> passesOf(const std::string& path, RecordingHeader& header) {
    std::string problem;
    RecordingReader reader(*loadRecordingFile(path, problem));
    EXPECT_TRUE(reader.readHeader(header)) << reader.problem();
    std::vector<RecordedPass> passes;
    RecordedPass pass;
    while (reader.next(pass) == RecordingReader::Next::Pass) {
        passes.push_back(pass);
    }
    return passes;
}

struct Replayed {
    int exitCode = -1;
    std::string out;
    std::string errors;
};

Replayed replayed(const RecordingHeader& header, const std::vector<RecordedPass>& passes) {
    std::vector<std::uint8_t> bytes;
    RecordingEncoder encoder(bytes);
    encoder.writeHeader(header);
    for (const RecordedPass& pass : passes) {
        encoder.writePass(pass);
    }
    encoder.finishRun();
    RecordingReader reader(std::move(bytes));
    RecordingHeader read;
    EXPECT_TRUE(reader.readHeader(read)) << reader.problem();
    std::ostringstream out;
    std::ostringstream errors;
    const int exitCode = replayHeadless(std::move(reader), read, out, errors);
    return {exitCode, out.str(), errors.str()};
}

const PassCommand kEnter = PassCommand::keyReleased(keys::kEnter);
const PassCommand kEscape = PassCommand::keyReleased(keys::kEscape);

} // namespace

// Catches a replay that goes on past a checkpoint that differs, a pass that read the clock more
// or less often than recorded, or a command the recorded game cannot have taken there; one that
// names the wrong pass or version; and one that stops where the game is the same.
TEST(ReplayDivergence, EachDepartureStopsAtItsPass) {
    RecordingHeader header;
    const std::vector<RecordedPass> recorded = passesOf(kLost + ".ccr", header);
    // Pass 1 is the start screen, 2 starts the game, 43, 97, 164 and 215 spawn stones, 219 and
    // 220 are the lost screen and 221 leaves it with Escape.
    ASSERT_EQ(recorded.size(), 221u);
    for (const std::size_t checkpoint : {2, 43, 97, 164, 215}) {
        ASSERT_TRUE(recorded[checkpoint - 1].checkpoint) << checkpoint;
    }
    ASSERT_EQ(recorded[1].clockReads.size(), 2u);
    ASSERT_TRUE(recorded[0].isQuiet() && recorded[218].isQuiet() && recorded[219].isQuiet());
    std::ifstream lines(kLost + ".txt");
    const std::string summary{std::istreambuf_iterator<char>(lines),
                              std::istreambuf_iterator<char>()};
    header.gameVersion = "0.9.7";
    using Passes = std::vector<RecordedPass>;
    struct Case {
        const char* name;
        std::function<void(Passes&)> edit;
        // 0: the same game.
        int divergesAt;
    };
    const std::vector<Case> cases = {
        {"another random state at a stone", [](Passes& p) { p[96].checkpoint->randomState ^= 1; },
         97},
        {"another rhythm at the start",
         [](Passes& p) { p[1].checkpoint->stoneSpawnInterval += 0.125f; }, 2},
        {"a checkpoint where none is", [](Passes& p) { p[49].checkpoint = p[42].checkpoint; }, 50},
        {"no checkpoint at a stone", [](Passes& p) { p[163].checkpoint.reset(); }, 164},
        {"a frame without its read", [](Passes& p) { p[99].clockReads.clear(); }, 100},
        {"the start without its frame's read", [](Passes& p) { p[1].clockReads.pop_back(); }, 2},
        {"a second read in a frame",
         [](Passes& p) { p[119].clockReads.push_back(p[119].clockReads.back()); }, 120},
        {"a read on the lost screen",
         [](Passes& p) { p[218].clockReads.push_back(p[217].clockReads.back()); }, 219},
        {"Enter on the start screen", [](Passes& p) { p[0].commands = {kEnter}; }, 1},
        {"no Enter to start the game", [](Passes& p) { p[1].commands.clear(); }, 2},
        {"Escape during play", [](Passes& p) { p[149].commands = {kEscape}; }, 150},
        {"Enter on the lost screen", [](Passes& p) { p[219].commands = {kEnter}; }, 220},
        {"Enter for Escape after the lost screen", [](Passes& p) { p[220].commands = {kEnter}; },
         221},
        {"Enter during play, which changes nothing", [](Passes& p) { p[149].commands = {kEnter}; },
         0},
        {"a wheel turn during play", [](Passes& p) { p[149].commands = {PassCommand::zoom(3)}; },
         0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Passes passes = recorded;
        test.edit(passes);
        const Replayed replay = replayed(header, passes);
        if (test.divergesAt == 0) {
            EXPECT_EQ(replay.exitCode, kExitPlayed);
            EXPECT_EQ(replay.out, summary);
            EXPECT_EQ(replay.errors, "");
            continue;
        }
        EXPECT_EQ(replay.exitCode, kExitReplayDiverged);
        EXPECT_EQ(replay.errors, "replay diverged at frame " + std::to_string(test.divergesAt) +
                                     " (recorded by version 0.9.7, replayed by version " +
                                     gameVersion() + ")\n");
        // The game was lost at the end of pass 218: its line stands before a later departure.
        EXPECT_EQ(replay.out, test.divergesAt > 218 ? summary : "");
    }
}
