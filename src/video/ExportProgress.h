#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

// How far a video export has come, told on standard error at most a few times a second: the
// share done, the frames written and an estimate of the seconds left. On a terminal one line is
// rewritten in place; anywhere else (a log) each report is a line of its own, less often.
// Frames grow dearer as a game goes on (every stone placed stays in the scene), so the time left
// follows the rate of the last several seconds rather than the mean since the start, which
// promised too little near the end.
class ExportProgress {
  public:
    ExportProgress(std::ostream& out, std::string name, std::uint64_t totalFrames, bool terminal);

    // `frames` are written after `seconds` of exporting.
    void update(std::uint64_t frames, double seconds);
    // The closing line: the file's size and the length of the video.
    void finish(std::uintmax_t bytes, double videoSeconds);

  private:
    std::ostream& out_;
    std::string name_;
    std::uint64_t totalFrames_;
    bool terminal_;
    double lastReport_ = 0.0;
    bool reported_ = false;
    // Where the rate is measured from, and the newer point that takes its place once the window
    // has moved on by half: the rate always covers between half and all of the window.
    struct Sample {
        std::uint64_t frames = 0;
        double seconds = 0.0;
    };
    Sample windowStart_;
    Sample windowMiddle_;
};
