#include "ScratchFile.h"
#include "replay/HeadlessReplay.h"
#include "replay/RecordingReader.h"

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

} // namespace

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
