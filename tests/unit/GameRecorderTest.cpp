#include "session/GameRecorder.h"
#include "RecordingRun.h"
#include "RulesTestSupport.h"
#include "ScratchFile.h"
#include "game/CommandEffects.h"
#include "game/KeyCodes.h"
#include "game/LoopPass.h"
#include "replay/GameVersion.h"
#include "replay/HeadlessFrameOutput.h"
#include "replay/HeadlessReplay.h"
#include "replay/RecordingReader.h"
#include "world/ParticleSystem.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>

// Games recorded through the game's own recorder and loop pass, with a fake clock, then read back
// the way a player's file would be: whatever the game accepts must come back.

namespace {

class GameRecorderTest : public testing::Test {
  protected:
    void TearDown() override { std::filesystem::remove(path_); }

    // Records `passes`, then `extraFrames` passes with no command.
    RecordedGame record(const Settings& settings, std::vector<ScriptPass> passes,
                        int extraFrames = 0) {
        const std::size_t count = passes.size() + static_cast<std::size_t>(extraFrames);
        RecordingRun run(path_, settings, std::move(passes));
        for (std::size_t i = 0; i < count; ++i) {
            run.playPass();
        }
        run.finish();
        return {path_, run.summaries.str()};
    }

    const std::filesystem::path path_ = scratchFile("chronocell_recorder_test.ccr");
};

std::string replayed(const std::filesystem::path& path, int& exitCode, std::string& errors) {
    std::ostringstream out;
    std::ostringstream err;
    exitCode = replayHeadless(path.string(), out, err);
    errors = err.str();
    return out.str();
}

const PassCommand kEnter = PassCommand::keyReleased(keys::kEnter);
const PassCommand kEscape = PassCommand::keyReleased(keys::kEscape);

} // namespace

// Catches a header field written in a form the reader refuses (a refresh rate above 1000 or
// below 0 is kept by the settings reader as it stands).
TEST_F(GameRecorderTest, EveryKeptRefreshRateIsRecordedReadably) {
    for (const int refreshRate :
         {1440, -5, 0, std::numeric_limits<int>::max(), std::numeric_limits<int>::min()}) {
        SCOPED_TRACE(refreshRate);
        Settings settings;
        settings.refreshRate = refreshRate;
        const RecordedGame game = record(settings, {{kEnter}}, 30);
        int exitCode = -1;
        std::string errors;
        EXPECT_EQ(replayed(game.path, exitCode, errors), game.summaries);
        EXPECT_EQ(exitCode, kExitPlayed) << errors;
        EXPECT_EQ(errors, "");
        std::string problem;
        RecordingReader reader(*loadRecordingFile(game.path.string(), problem));
        RecordingHeader header;
        ASSERT_TRUE(reader.readHeader(header));
        EXPECT_EQ(header.refreshRate, refreshRate);
    }
}

// Catches a loop pass that hands the recorder commands the reader refuses (a wheel turn that
// is no number or too large, a key code no keyboard sends): the whole recording would be lost.
TEST_F(GameRecorderTest, CommandsBeyondAFilesBoundsAreRecordedReadably) {
    const ScriptPass odd = {PassCommand::zoom(std::numeric_limits<double>::quiet_NaN()),
                            PassCommand::zoom(5000.0), PassCommand::keyReleased(4000),
                            PassCommand::zoom(-1e300)};
    const RecordedGame game = record(Settings{}, {{kEnter}, odd, odd}, 10);
    int exitCode = -1;
    std::string errors;
    EXPECT_EQ(replayed(game.path, exitCode, errors), game.summaries);
    EXPECT_EQ(exitCode, kExitPlayed) << errors;
}

// Keys mashed between two passes (as during a freeze) start a game with every Enter, each read
// of the clock kept: catches a reader that takes fewer reads in one pass than the game makes.
TEST_F(GameRecorderTest, APassWithManyClockReadsReplays) {
    ScriptPass mashed;
    for (int i = 0; i < 10; ++i) {
        mashed.push_back(kEnter);
        mashed.push_back(kEscape);
    }
    mashed.push_back(kEnter);
    const RecordedGame game = record(Settings{}, {{kEnter}, mashed}, 20);
    int exitCode = -1;
    std::string errors;
    const std::string summaries = replayed(game.path, exitCode, errors);
    EXPECT_EQ(exitCode, kExitPlayed) << errors;
    EXPECT_EQ(summaries, game.summaries);
    // Ten games started within the pass, the last still running at the end.
    EXPECT_NE(summaries.find("game 11: unfinished"), std::string::npos) << summaries;
}

// Catches a recorder that keeps a pass's clock reads or commands into the next pass or loses
// some, and one that checks in at other passes than those that started a game or spawned a
// stone: the file, read back record by record, holds what each pass took.
TEST_F(GameRecorderTest, EachPassIsRecordedAsTheLoopTookIt) {
    std::vector<ScriptPass> script(260);
    std::vector<HeldKeys> held(script.size());
    script[1] = {PassCommand::zoom(1.5)};
    // Game 1, left; game 2, lost; game 3, unfinished.
    script[2] = {kEnter, PassCommand::zoom(-0.5)};
    script[10] = {PassCommand::keyReleased(keys::kF3)};
    script[11] = {PassCommand::zoom(2.0), PassCommand::zoom(-1.0)};
    script[45] = {kEscape};
    script[50] = {kEnter};
    script[220] = {PassCommand::zoom(1.0), kEnter};
    for (std::size_t i = 15; i < 25; ++i) {
        held[i].a = true;
        held[i + 210].d = true;
    }
    held[30].space = true;
    RecordingRun run(path_, Settings{}, script, held);
    // Frame times of a busy machine, none alike twice running.
    const std::vector<double> frameTimes = {kFrame, 1.0 / 50.0, 1.0 / 75.0, 1.0 / 30.0};
    for (std::size_t i = 0; i < script.size(); ++i) {
        run.playPass(frameTimes[i % frameTimes.size()]);
    }
    run.finish();
    ASSERT_EQ(run.context.tally.gamesStarted, 3);
    ASSERT_EQ(run.context.state, GameState::Playing);
    ASSERT_GT(run.context.tally.stonesSpawned, 3);
    std::string problem;
    RecordingReader reader(*loadRecordingFile(path_.string(), problem));
    RecordingHeader header;
    ASSERT_TRUE(reader.readHeader(header)) << reader.problem();
    RecordedPass read;
    for (RecordedPass& expected : run.taken) {
        ASSERT_EQ(reader.next(read), RecordingReader::Next::Pass) << reader.problem();
        SCOPED_TRACE("pass " + std::to_string(reader.passesRead()));
        EXPECT_EQ(read.held, expected.held);
        EXPECT_EQ(read.commands, expected.commands);
        EXPECT_EQ(read.clockReads, expected.clockReads);
        EXPECT_EQ(read.checkpoint, expected.checkpoint);
    }
    EXPECT_EQ(reader.next(read), RecordingReader::Next::End);
    // The first game from the pass that started it to the one before Escape.
    const std::string summaries = run.summaries.str();
    EXPECT_EQ(summaries.find("game 1: left, 0 clocks, "), 0u) << summaries;
    EXPECT_EQ(summaries.find(" s, 43 frames, "), summaries.find(" s, ")) << summaries;
}

// Catches a game's end left in the buffer: the file holds the lost game the moment it ends,
// before any second has passed, though no checkpoint follows it.
TEST_F(GameRecorderTest, TheEndOfAGameIsInTheFileAtOnce) {
    RecordingRun run(path_, Settings{}, {{kEnter}});
    while (run.context.state != GameState::Lost) {
        run.playPass();
        ASSERT_LT(run.clock.time, 90.0) << "nobody at the keys loses long before the end";
    }
    // What a crash now would leave behind.
    const auto copy = scratchFile("chronocell_crash_copy.ccr");
    std::filesystem::copy_file(path_, copy, std::filesystem::copy_options::overwrite_existing);
    int exitCode = -1;
    std::string errors;
    EXPECT_EQ(replayed(copy, exitCode, errors), run.summaries.str());
    EXPECT_EQ(exitCode, kExitPlayed) << errors;
    std::filesystem::remove(copy);
    run.finish();
}

// Catches a writer that only writes when its buffer fills or at a checkpoint, and one that
// keeps a run of text-screen passes back from the file.
TEST(RecordingWriter, WritesEveryPassOnceASecondOfWallTimeHasGone) {
    const auto path = scratchFile("chronocell_flush_test.ccr");
    RecordingWriter writer;
    ASSERT_TRUE(writer.open(path.string(), RecordingHeader{"1.0.0", 800, 600, 60, false, 0.3f}));
    constexpr std::uint64_t kStep = 16;
    std::uint64_t written = 0;
    for (std::uint64_t wall = 0; wall <= 5000; wall += kStep) {
        RecordedPass pass;
        pass.wallMilliseconds = wall;
        // Text-screen passes and frames, no checkpoint: a reversed phase or a relic walk.
        if (wall % 160 == 0) {
            pass.clockReads = {recording::ticksOf(static_cast<double>(wall) / 1000.0)};
        }
        writer.write(pass);
        ++written;
        std::string problem;
        RecordingReader reader(*loadRecordingFile(path.string(), problem));
        RecordingHeader header;
        ASSERT_TRUE(reader.readHeader(header));
        RecordedPass read;
        std::uint64_t onDisk = 0;
        while (reader.next(read) == RecordingReader::Next::Pass) {
            ++onDisk;
        }
        // Everything up to a second ago is in the file, the pass just written at the latest
        // when a second has gone since the last write.
        ASSERT_GE(onDisk + (1000 / kStep) + 1, written) << "at " << wall << " ms";
    }
    writer.close();
    std::filesystem::remove(path);
}

// Catches a version check that refuses a recording of another version (whose rules are the
// same) or says nothing of it.
TEST(RecordingVersions, ARecordingOfAnotherVersionReplaysWithOneLineNamingBoth) {
    const std::string source = std::string(CHRONOCELL_SOURCE_DIR) + "/tests/replays/won";
    std::ifstream in(source + ".ccr", std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::size_t version = bytes.find("1.0.0");
    ASSERT_EQ(version, recording::kMagic.size() + 2);
    bytes.replace(version, 5, "0.9.7");
    const auto path = scratchFile("chronocell_other_version.ccr");
    std::ofstream(path, std::ios::binary) << bytes;
    std::ifstream expected(source + ".txt");
    const std::string summaries{std::istreambuf_iterator<char>(expected),
                                std::istreambuf_iterator<char>()};
    int exitCode = -1;
    std::string errors;
    EXPECT_EQ(replayed(path, exitCode, errors), summaries);
    EXPECT_EQ(exitCode, kExitPlayed);
    EXPECT_EQ(errors, "chronocell: " + path.string() + " was recorded by version 0.9.7; this is " +
                          "version " + gameVersion() + "\n");
    std::filesystem::remove(path);
}
