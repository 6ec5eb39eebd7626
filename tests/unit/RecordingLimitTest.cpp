#include "ScratchFile.h"
#include "replay/RecordingReader.h"
#include "replay/RecordingWriter.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

// A game left on a text screen for hours reaches the most quiet passes a file may hold: the
// recorder closes the file there, whole, so the reader takes back everything before.

// Catches a writer that goes past the reader's limit (the whole file refused), stops short of it
// or counts each run alone, counts frames as quiet, leaves the file without its closing record,
// writes on after stopping, and a line missing or told twice. The last case holds the game's own
// limit, so a writer's and a reader's limit that drift apart fail it.
TEST(RecordingLimit, TheRecorderClosesTheFileAtTheMostQuietPasses) {
    const auto quiet = [](bool w, std::uint64_t wallMilliseconds) {
        RecordedPass pass;
        pass.held.w = w;
        pass.wallMilliseconds = wallMilliseconds;
        return pass;
    };
    RecordedPass frame;
    frame.clockReads = {0};
    const std::uint64_t most = recording::kMaxQuietPasses;
    struct Case {
        const char* name;
        std::uint64_t limit;
        // Passes written as often as told, in order.
        std::vector<std::pair<RecordedPass, std::uint64_t>> script;
        std::uint64_t quietRead;
        std::uint64_t othersRead;
        bool stopped;
    };
    const std::vector<Case> cases = {
        {"at the limit", 3, {{quiet(false, 0), 3}, {frame, 2}}, 3, 2, false},
        {"one past, in runs of other keys",
         3,
         {{quiet(false, 0), 1}, {quiet(true, 0), 1}, {quiet(false, 0), 2}, {frame, 2}},
         3,
         0,
         true},
        {"frames between the runs",
         4,
         {{quiet(true, 0), 2}, {frame, 5}, {quiet(true, 0), 3}},
         4,
         5,
         true},
        {"runs written out each second",
         2,
         {{quiet(false, 1000), 1}, {quiet(false, 2000), 1}, {quiet(false, 3000), 1}, {frame, 1}},
         2,
         0,
         true},
        {"the game's own limit", most, {{quiet(false, 0), most + 1}, {frame, 1}}, most, 0, true},
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
        }
        EXPECT_EQ(errors.str(), test.stopped ? "chronocell: " + path.string() +
                                                   " holds the most text-screen passes a "
                                                   "recording may (" +
                                                   std::to_string(test.limit) +
                                                   "); the recording ends there and the game "
                                                   "goes on without recording\n"
                                             : "");
        std::ostringstream readErrors;
        RecordingHeader header;
        std::optional<RecordingReader> reader = openRecording(path.string(), header, readErrors);
        ASSERT_TRUE(reader) << readErrors.str();
        EXPECT_EQ(readErrors.str(), "") << "a closed file says nothing";
        std::uint64_t counts[2] = {0, 0};
        RecordedPass pass;
        while (reader->next(pass) == RecordingReader::Next::Pass) {
            ++counts[pass.isQuiet() ? 0 : 1];
        }
        EXPECT_EQ(counts[0], test.quietRead);
        EXPECT_EQ(counts[1], test.othersRead);
    }
    std::filesystem::remove(path);
}
