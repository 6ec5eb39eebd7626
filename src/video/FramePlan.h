#pragma once

#include <cstdint>
#include <vector>

// Which passes of a replay become the frames of a video at a steady rate: the frame at time t
// shows the picture of the last pass shown at or before t (the first pass also stands for the
// frames before it). The passes come in order with the times the paced replay shows them; a
// pass's frames are known once the next pass's time is, and the last pass is held for one frame.
// Only passes that become frames are kept, so a recording of hundreds of passes a second costs
// no more memory than its frames.
class FramePlan {
  public:
    struct Shown {
        // The pass's number in the replay, counted from 1.
        std::uint64_t pass = 0;
        // How many frames in a row show its picture.
        std::uint64_t frames = 0;

        bool operator==(const Shown&) const = default;
    };
    // The longest video a plan holds; a recording shown for longer is refused. Its sound track is
    // mixed to a scratch file first, 635 MB an hour.
    static constexpr double kLongestSeconds = 2.0 * 60.0 * 60.0;

    explicit FramePlan(int fps);

    // Pass `pass` is shown at `seconds` (a time before the previous pass's counts as that one).
    // False once the video would outlast kLongestSeconds; the plan then takes nothing more.
    bool addPass(std::uint64_t pass, double seconds);
    // After the last pass: holds it for one frame.
    void finish();

    const std::vector<Shown>& shown() const { return shown_; }
    std::uint64_t frameCount() const { return framesPlanned_; }
    double durationSeconds() const { return static_cast<double>(framesPlanned_) / fps_; }
    int fps() const { return fps_; }

  private:
    // The first frame shown at or after `seconds`.
    std::uint64_t firstFrameFrom(double seconds) const;
    // The pass's picture on every frame from the last one planned up to `endFrame`.
    void showUntil(std::uint64_t pass, std::uint64_t endFrame);

    int fps_;
    std::vector<Shown> shown_;
    std::uint64_t framesPlanned_ = 0;
    std::uint64_t lastPass_ = 0;
    double lastSeconds_ = 0.0;
    bool started_ = false;
    bool full_ = false;
};
