#include "video/ExportProgress.h"

#include <gtest/gtest.h>
#include <sstream>
#include <vector>

namespace {

struct Update {
    std::uint64_t frames;
    double seconds;
};

struct ProgressCase {
    const char* what;
    bool terminal;
    std::vector<Update> updates;
    std::uintmax_t bytes;
    std::string said;
};

} // namespace

TEST(ExportProgress, ReportsTheShareDoneAndTheTimeLeftAtMostAFewTimesASecond) {
    const std::vector<ProgressCase> cases = {
        {"a terminal: one line rewritten, four times a second at most",
         true,
         {{0, 0.0}, {10, 0.1}, {20, 0.2}, {30, 0.3}, {40, 0.55}, {300, 2.0}},
         3'456'789,
         "\rchronocell: exporting v.mp4: 2% (10 of 400 frames), 4 s left   "
         "\rchronocell: exporting v.mp4: 10% (40 of 400 frames), 5 s left   "
         "\rchronocell: exporting v.mp4: 75% (300 of 400 frames), 1 s left   "
         "\nchronocell: wrote v.mp4: 3.5 MB, 0:07 of video\n"},
        {"a log: a line each five seconds",
         false,
         {{100, 1.0}, {200, 2.0}, {300, 6.0}},
         999,
         "chronocell: exporting v.mp4: 25% (100 of 400 frames), 3 s left\n"
         "chronocell: exporting v.mp4: 75% (300 of 400 frames), 2 s left\n"
         "chronocell: wrote v.mp4: 1 KB, 0:07 of video\n"},
        {"a short export says only where it went",
         true,
         {},
         1'000'001,
         "chronocell: wrote v.mp4: 1.0 MB, 0:07 of video\n"},
    };
    for (const ProgressCase& test : cases) {
        std::ostringstream out;
        ExportProgress progress(out, "v.mp4", 400, test.terminal);
        for (const Update& update : test.updates) {
            progress.update(update.frames, update.seconds);
        }
        progress.finish(test.bytes, 400 / 60.0);
        EXPECT_EQ(out.str(), test.said) << test.what;
    }
}

// Catches a time left taken from the mean rate since the start: frames grow dearer as stones
// gather, and that promised 28 s where 44 s were left at the rate the export had come to.
TEST(ExportProgress, TheTimeLeftFollowsTheRateOfTheLastSeconds) {
    std::ostringstream out;
    ExportProgress progress(out, "v.mp4", 1000, false);
    // 20 frames a second for 20 s, then 10 a second.
    for (int second = 1; second <= 36; ++second) {
        const int frames = second <= 20 ? 20 * second : 400 + 10 * (second - 20);
        progress.update(static_cast<std::uint64_t>(frames), second);
    }
    const std::string said = out.str();
    const std::string last = said.substr(said.rfind("chronocell:"));
    EXPECT_EQ(last, "chronocell: exporting v.mp4: 56% (560 of 1000 frames), 44 s left\n");
}
