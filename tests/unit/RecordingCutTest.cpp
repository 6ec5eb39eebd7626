#include "ScratchFile.h"
#include "replay/GameVersion.h"
#include "replay/HeadlessReplay.h"
#include "replay/RecordingEncoder.h"
#include "replay/RecordingReader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

// A recording cut anywhere (a crash, a full disk) keeps every pass whose record is whole.

namespace {

std::vector<std::uint8_t> bytesOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct ReadBack {
    bool headerRead = false;
    std::vector<RecordedPass> passes;
    // How many passes came out, and whether each matched the reference's pass at its place.
    std::size_t passCount = 0;
    bool matchesReference = true;
    RecordingReader::Next last = RecordingReader::Next::Damaged;
    // What one more call says.
    RecordingReader::Next afterTheEnd = RecordingReader::Next::Damaged;
    std::size_t cutAt = 0;
};

// Reads every pass of `bytes`; with a reference, compares each pass to it instead of keeping it.
ReadBack readBack(std::vector<std::uint8_t> bytes, const std::vector<RecordedPass>* reference) {
    RecordingReader reader(std::move(bytes));
    RecordingHeader header;
    ReadBack result;
    result.headerRead = reader.readHeader(header);
    if (!result.headerRead) {
        return result;
    }
    RecordedPass pass;
    while ((result.last = reader.next(pass)) == RecordingReader::Next::Pass) {
        if (reference == nullptr) {
            result.passes.push_back(pass);
        } else if (result.passCount >= reference->size() ||
                   pass != (*reference)[result.passCount]) {
            result.matchesReference = false;
        }
        ++result.passCount;
    }
    result.afterTheEnd = reader.next(pass);
    result.cutAt = reader.cutAt();
    return result;
}

const std::string kWon = std::string(CHRONOCELL_SOURCE_DIR) + "/tests/replays/won.ccr";
const std::string kLost = std::string(CHRONOCELL_SOURCE_DIR) + "/tests/replays/lost.ccr";
const std::string kLostLine = "game 1: lost, 0 clocks, 3.60 s, 217 frames, 4 stones, 0 phase "
                              "switches\n";

} // namespace

// Catches a cut at a record's end that says nothing, a 1.0.0 file (which never had a closing
// record) called cut or damaged, a cut header or magic without its line or called no recording
// (and short bytes of no recording called cut), a closing record taken in version 1, a line with
// the wrong pass or byte, and a second opening that tells again or hides what stops it.
TEST(RecordingCut, EachCutGivesItsLineAndExitCode) {
    // lost.ccr written again as this game writes it, closed, with where a record in play ends.
    RecordingReader lost(bytesOf(kLost));
    RecordingHeader header;
    ASSERT_TRUE(lost.readHeader(header));
    header.gameVersion = gameVersion();
    std::vector<std::uint8_t> closed;
    RecordingEncoder encoder(closed);
    encoder.writeHeader(header);
    const std::size_t headerEnd = closed.size();
    std::uint64_t passes = 0;
    std::size_t middle = 0;
    std::uint64_t passesBeforeMiddle = 0;
    for (RecordedPass pass; lost.next(pass) == RecordingReader::Next::Pass;) {
        encoder.writePass(pass);
        // After a pass of play no quiet run is held back: a record ends the bytes.
        if (++passes > 100 && !pass.isQuiet() && middle == 0) {
            middle = closed.size();
            passesBeforeMiddle = passes;
        }
    }
    encoder.writeClosing();
    const auto cut = [&](std::size_t size) {
        return std::vector<std::uint8_t>(closed.begin(), closed.begin() + size);
    };
    std::vector<std::uint8_t> versionOneClosed = bytesOf(kLost);
    versionOneClosed.push_back(0xC0);
    const auto path = scratchFile("chronocell_cut_table.ccr");
    const std::string file = "chronocell: " + path.string();
    const std::string cannot = "chronocell: cannot replay " + path.string() + ": ";
    const auto endsEarly = [&](std::uint64_t passesBefore, std::size_t byte) {
        return file + " ends early, after pass " + std::to_string(passesBefore) + " at byte " +
               std::to_string(byte) + ", with no closing record; the passes before it are " +
               "replayed\n";
    };
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        int exitCode;
        std::string errors;
        // What standard output starts with, its one line; nothing when empty.
        std::string out;
    };
    const std::vector<Case> cases = {
        {"closed", closed, 0, "", kLostLine},
        {"1.0.0, with no closing record", bytesOf(kLost), 0, "", kLostLine},
        {"unclosed", cut(closed.size() - 1), 0, endsEarly(passes, closed.size() - 1), kLostLine},
        {"no pass", cut(headerEnd), 0, endsEarly(0, headerEnd), ""},
        {"inside a record in play", cut(middle + 1), 0,
         file + " ends inside a record at byte " + std::to_string(middle) + " of " +
             std::to_string(middle + 1) + ", after pass " + std::to_string(passesBeforeMiddle) +
             "; the passes before it are replayed\n",
         "game 1: unfinished, "},
        {"in the header", cut(headerEnd - 1), 2, cannot + "the file ends inside its header\n", ""},
        {"in the magic", cut(5), 2, cannot + "the file ends inside its header\n", ""},
        {"empty", {}, 2, cannot + "the file is empty\n", ""},
        {"short, no recording", std::vector<std::uint8_t>{'C', 'C', 'X'}, 2,
         cannot + "not a recorded game (wrong magic)\n", ""},
        {"1.0.0 closed", versionOneClosed, 2,
         cannot + "damaged after pass " + std::to_string(passes) + ": unknown record kind\n", ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(test.bytes.data()),
                   static_cast<std::streamsize>(test.bytes.size()));
        std::ostringstream out;
        std::ostringstream errors;
        EXPECT_EQ(replayHeadless(path.string(), out, errors), test.exitCode);
        EXPECT_EQ(errors.str(), test.errors);
        const std::string summary = out.str();
        EXPECT_TRUE(summary.starts_with(test.out) &&
                    std::count(summary.begin(), summary.end(), '\n') == (test.out.empty() ? 0 : 1))
            << summary;
        // A video's drawing run opens the file again: only what stops it is news.
        std::ostringstream again;
        openRecording(path.string(), header, again, RecordingNotes::AlreadyTold);
        EXPECT_EQ(again.str(), test.exitCode == 0 ? "" : test.errors);
    }
    std::filesystem::remove(path);
}

// Catches a cut read as damage, a half record handed out as a pass, and a cut that loses whole
// records before it.
TEST(RecordingCut, EveryCutKeepsTheWholePassesBeforeIt) {
    const std::vector<std::uint8_t> whole = bytesOf(kWon);
    const ReadBack all = readBack(whole, nullptr);
    ASSERT_EQ(all.last, RecordingReader::Next::End);
    std::size_t headerEnd = 0;
    std::size_t passesBefore = 0;
    std::size_t lastCutAt = 0;
    for (std::size_t size = 1; size <= whole.size(); ++size) {
        SCOPED_TRACE(size);
        const ReadBack cut = readBack({whole.begin(), whole.begin() + size}, &all.passes);
        if (!cut.headerRead) {
            ASSERT_EQ(headerEnd, 0u) << "a longer prefix lost its header";
            continue;
        }
        headerEnd = headerEnd == 0 ? size : headerEnd;
        ASSERT_NE(cut.last, RecordingReader::Next::Damaged);
        ASSERT_EQ(cut.afterTheEnd, cut.last) << "a reader must keep saying where it stopped";
        ASSERT_TRUE(cut.matchesReference);
        ASSERT_GE(cut.passCount, passesBefore) << "a longer prefix kept fewer passes";
        ASSERT_LE(cut.cutAt, size);
        ASSERT_GE(cut.cutAt, lastCutAt);
        // A cut exactly at a record's end is a file that ends there.
        ASSERT_EQ(cut.last == RecordingReader::Next::End, cut.cutAt == size);
        passesBefore = cut.passCount;
        lastCutAt = cut.cutAt;
    }
    EXPECT_EQ(passesBefore, all.passes.size());
    EXPECT_GT(headerEnd, 8u);
}

// Catches a cut file refused, its last game reported as ended before its end was recorded, and
// a missing, wrong or repeated line on standard error.
TEST(RecordingCut, ACutRecordingReplaysHeadlessUpToTheCut) {
    const std::vector<std::uint8_t> whole = bytesOf(kLost);
    std::ostringstream fullOut;
    std::ostringstream fullErrors;
    ASSERT_EQ(replayHeadless(kLost, fullOut, fullErrors), kExitPlayed);
    const auto path = scratchFile("chronocell_cut.ccr");
    int unfinished = 0;
    bool ended = false;
    for (std::size_t size = 40; size < whole.size(); ++size) {
        SCOPED_TRACE(size);
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(whole.data()), static_cast<std::streamsize>(size));
        const ReadBack cut = readBack({whole.begin(), whole.begin() + size}, nullptr);
        std::ostringstream out;
        std::ostringstream errors;
        ASSERT_EQ(replayHeadless(path.string(), out, errors), kExitPlayed) << errors.str();
        if (cut.last == RecordingReader::Next::Cut) {
            EXPECT_EQ(errors.str(), "chronocell: " + path.string() +
                                        " ends inside a record at byte " +
                                        std::to_string(cut.cutAt) + " of " + std::to_string(size) +
                                        ", after pass " + std::to_string(cut.passCount) +
                                        "; the passes before it are replayed\n");
        } else {
            EXPECT_EQ(errors.str(), "");
        }
        // Once the end of the game is in, the summary is the whole recording's; before, the game
        // is unfinished (or not begun).
        const std::string summary = out.str();
        if (summary == fullOut.str()) {
            ended = true;
        } else {
            EXPECT_FALSE(ended) << "a longer cut lost the end of the game: " << summary;
            EXPECT_TRUE(summary.empty() || (summary.find("game 1: unfinished, ") == 0 &&
                                            std::count(summary.begin(), summary.end(), '\n') == 1))
                << summary;
            unfinished += summary.empty() ? 0 : 1;
        }
    }
    std::filesystem::remove(path);
    EXPECT_GT(unfinished, 0);
    EXPECT_TRUE(ended);
}
