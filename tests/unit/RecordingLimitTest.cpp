#include "ScratchFile.h"
#include "replay/RecordingReader.h"
#include "replay/RecordingWriter.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

// A game left on a text screen for hours reaches the most quiet passes a file may hold: the
// recorder closes the file there, whole, so the reader takes back everything before.

namespace {

RecordedPass quietPass(bool w, std::uint64_t wallMilliseconds = 0) {
    RecordedPass pass;
    pass.held.w = w;
    pass.wallMilliseconds = wallMilliseconds;
    return pass;
}

RecordedPass framePass() {
    RecordedPass pass;
    pass.clockReads = {0};
    return pass;
}

// Passes written as often as told, in order.
using Script = std::vector<std::pair<RecordedPass, std::uint64_t>>;

struct ReadBack {
    std::uint64_t quiet = 0;
    std::uint64_t others = 0;
    RecordingReader::Next end = RecordingReader::Next::Damaged;
    std::string errors;
};

ReadBack readBack(const std::filesystem::path& path) {
    ReadBack result;
    RecordingHeader header;
    std::ostringstream errors;
    std::optional<RecordingReader> reader = openRecording(path.string(), header, errors);
    result.errors = errors.str();
    if (!reader) {
        return result;
    }
    RecordedPass pass;
    while ((result.end = reader->next(pass)) == RecordingReader::Next::Pass) {
        ++(pass.isQuiet() ? result.quiet : result.others);
    }
    return result;
}

} // namespace

// Catches a writer that goes past the reader's limit (the whole file refused), stops short of it
// or counts each run alone, counts frames as quiet, leaves the file without its closing record,
// writes on after stopping, and a line missing or told twice. The last case holds the game's own
// limit, so a writer's and a reader's limit that drift apart fail it.
TEST(RecordingLimit, TheRecorderClosesTheFileAtTheMostQuietPasses) {
    const std::uint64_t most = recording::kMaxQuietPasses;
    struct Case {
        const char* name;
        std::uint64_t limit;
        Script script;
        std::uint64_t quiet;
        std::uint64_t others;
        bool stopped;
    };
    const std::vector<Case> cases = {
        {"at the limit", 3, {{quietPass(false), 3}, {framePass(), 2}}, 3, 2, false},
        {"one past, in runs of other keys",
         3,
         {{quietPass(false), 1}, {quietPass(true), 1}, {quietPass(false), 2}, {framePass(), 2}},
         3,
         0,
         true},
        {"frames between the runs count for nothing",
         4,
         {{quietPass(true), 2}, {framePass(), 5}, {quietPass(true), 2}, {framePass(), 1}},
         4,
         6,
         false},
        {"runs written out each second",
         3,
         {{quietPass(false, 1000), 1},
          {quietPass(false, 2000), 1},
          {quietPass(false, 3000), 1},
          {quietPass(false, 4000), 1},
          {framePass(), 1}},
         3,
         0,
         true},
        {"the game's own limit",
         most,
         {{quietPass(false), most + 1}, {framePass(), 1}},
         most,
         0,
         true},
    };
    const auto path = scratchFile("chronocell_quiet_limit.ccr");
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::ostringstream errors;
        {
            RecordingWriter writer(errors, test.limit);
            ASSERT_TRUE(writer.open(path.string(), {"1.0.0", 800, 600, 60, false, 0.3f}));
            for (const auto& [pass, times] : test.script) {
                for (std::uint64_t i = 0; i < times; ++i) {
                    writer.write(pass);
                }
            }
            writer.flushAt(9000);
            writer.close();
        }
        EXPECT_EQ(errors.str(), test.stopped ? "chronocell: " + path.string() +
                                                   " holds the most text-screen passes a "
                                                   "recording may (" +
                                                   std::to_string(test.limit) +
                                                   "); the recording ends there and the game "
                                                   "goes on without recording\n"
                                             : "");
        const ReadBack read = readBack(path);
        EXPECT_EQ(read.errors, "");
        EXPECT_EQ(read.end, RecordingReader::Next::End);
        EXPECT_EQ(read.quiet, test.quiet);
        EXPECT_EQ(read.others, test.others);
    }
    std::filesystem::remove(path);
}
