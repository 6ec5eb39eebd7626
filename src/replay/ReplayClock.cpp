#include "replay/ReplayClock.h"

#include "replay/RecordingFormat.h"

#include <algorithm>
#include <thread>

namespace {

const std::chrono::milliseconds kWaitSlice{20};
// The longest wait a recording can ask for; anything longer is cut to it, so no time point can
// overflow whatever the values.
constexpr double kLongestWaitSeconds = recording::kMaxWallMilliseconds / 1000.0;

ReplayClock::SteadyClock::duration waitOf(double seconds) {
    return std::chrono::duration_cast<ReplayClock::SteadyClock::duration>(
        std::chrono::duration<double>(std::clamp(seconds, 0.0, kLongestWaitSeconds)));
}

} // namespace

void ReplayClock::pace(std::function<bool()> interrupted) {
    paced_ = true;
    interrupted_ = std::move(interrupted);
    replayStart_ = SteadyClock::now();
}

void ReplayClock::paceOnTimeline() {
    paced_ = true;
    onTimeline_ = true;
    interrupted_ = nullptr;
    replayStart_ = SteadyClock::time_point{};
    timelineNow_ = replayStart_;
}

double ReplayClock::shownSeconds() const {
    return std::chrono::duration<double>(currentTime() - replayStart_).count();
}

ReplayClock::SteadyClock::time_point ReplayClock::currentTime() const {
    return onTimeline_ ? timelineNow_ : SteadyClock::now();
}

void ReplayClock::startPass(const std::vector<std::int64_t>& reads) {
    reads_ = &reads;
    next_ = 0;
    overrun_ = false;
}

double ReplayClock::now() {
    if (reads_ == nullptr || next_ == reads_->size()) {
        overrun_ = true;
        return last_;
    }
    last_ = recording::secondsOf((*reads_)[next_++]);
    if (paced_) {
        if (!anchored_) {
            anchored_ = true;
            anchorValue_ = last_;
            anchorTime_ = currentTime();
        }
        waitUntil(anchorTime_ + waitOf(last_ - anchorValue_));
    }
    return last_;
}

void ReplayClock::setTime(double /*seconds*/) {
    anchored_ = false;
}

void ReplayClock::waitForWallTime(std::uint64_t milliseconds) {
    if (paced_) {
        waitUntil(replayStart_ + waitOf(static_cast<double>(milliseconds) / 1000.0));
    }
}

void ReplayClock::waitUntil(SteadyClock::time_point until) {
    if (onTimeline_) {
        timelineNow_ = std::max(timelineNow_, until);
        return;
    }
    while (SteadyClock::now() < until) {
        if (interrupted_ && interrupted_()) {
            return;
        }
        const SteadyClock::time_point sliceEnd = std::min(until, SteadyClock::now() + kWaitSlice);
        if (sleep_) {
            sleep_(sliceEnd - SteadyClock::now());
        } else {
            std::this_thread::sleep_until(sliceEnd);
        }
    }
}
