#include "ScratchFile.h"
#include "replay/GameVersion.h"
#include "replay/RecordingReader.h"
#include "replay/RecordingWriter.h"

#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

// Catches a writer that stops a pass early or late, counts each run alone (other keys, frames or a
// second between), counts frames as quiet, leaves no closing record, writes on or tells again
// after stopping, or whose own limit drifts from the reader's (the whole file refused).
TEST(RecordingLimit, TheRecorderClosesTheFileAtTheMostQuietPasses) {
    struct Case {
        std::uint64_t limit;
        // q: a quiet pass, w: with W held, s: a second later, h: the limit's worth, f: a frame.
        std::string script;
        std::array<std::uint64_t, 2> quietAndFramesRead;
        bool stopped;
    };
    const Case cases[] = {
        {3, "qqqff", {3, 2}, false},
        {3, "qwfsqqff", {3, 1}, true},
        {recording::kMaxQuietPasses, "hqf", {recording::kMaxQuietPasses, 0}, true},
    };
    const auto path = scratchFile("chronocell_quiet_limit.ccr");
    for (const Case& test : cases) {
        SCOPED_TRACE(test.script);
        std::ostringstream errors;
        // The game's own limit is the one a writer has unless told another.
        std::optional<RecordingWriter> writer;
        test.limit == recording::kMaxQuietPasses ? writer.emplace(errors)
                                                 : writer.emplace(errors, test.limit);
        RecordingHeader header{gameVersion(), 800, 600, 60, false, 0.3f};
        ASSERT_TRUE(writer->open(path.string(), header));
        RecordedPass pass;
        for (const char kind : test.script) {
            pass.held.w = kind == 'w';
            pass.wallMilliseconds += kind == 's' ? 1000 : 0;
            pass.clockReads.assign(kind == 'f' ? 1 : 0, 0);
            for (std::uint64_t i = kind == 'h' ? test.limit : 1; i > 0; --i) {
                writer->write(pass);
            }
        }
        writer.reset();
        const std::string stop =
            "chronocell: " + path.string() +
            " holds the most text-screen passes a recording may (" + std::to_string(test.limit) +
            "); the recording ends there and the game goes on without recording\n";
        EXPECT_EQ(errors.str(), test.stopped ? stop : "");
        std::ostringstream readErrors;
        std::optional<RecordingReader> reader = openRecording(path.string(), header, readErrors);
        ASSERT_TRUE(reader && readErrors.str().empty()) << readErrors.str();
        std::array<std::uint64_t, 2> read{};
        while (reader->next(pass) == RecordingReader::Next::Pass) {
            ++read[pass.isQuiet() ? 0 : 1];
        }
        EXPECT_EQ(read, test.quietAndFramesRead);
    }
    std::filesystem::remove(path);
}
