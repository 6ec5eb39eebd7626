#include "video/FramePlan.h"

#include <algorithm>
#include <cmath>

namespace {
// A time that lands on a frame's time up to rounding shows that frame: 1/60 s times 60 is not
// always exactly 1.
constexpr double kFrameRounding = 1e-6;
} // namespace

FramePlan::FramePlan(int fps) : fps_(std::max(fps, 1)) {}

std::uint64_t FramePlan::firstFrameFrom(double seconds) const {
    return static_cast<std::uint64_t>(std::max(0.0, std::ceil(seconds * fps_ - kFrameRounding)));
}

void FramePlan::showUntil(std::uint64_t pass, std::uint64_t endFrame) {
    if (endFrame <= framesPlanned_) {
        return;
    }
    const std::uint64_t frames = endFrame - framesPlanned_;
    shown_.push_back({pass, frames});
    framesPlanned_ += frames;
}

bool FramePlan::addPass(std::uint64_t pass, double seconds) {
    if (full_) {
        return false;
    }
    if (!std::isfinite(seconds) || seconds > kLongestSeconds) {
        full_ = true;
        return false;
    }
    seconds = std::max(seconds, lastSeconds_);
    if (started_) {
        showUntil(lastPass_, firstFrameFrom(seconds));
    }
    started_ = true;
    lastPass_ = pass;
    lastSeconds_ = seconds;
    return true;
}

void FramePlan::finish() {
    if (started_ && !full_) {
        showUntil(lastPass_, firstFrameFrom(lastSeconds_) + 1);
    }
    started_ = false;
}
