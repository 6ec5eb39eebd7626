#include "replay/ReplayClock.h"

#include "replay/RecordingFormat.h"

#include <thread>

namespace {
const std::chrono::milliseconds kWaitSlice{20};
}

void ReplayClock::pace(std::function<bool()> interrupted) {
    paced_ = true;
    interrupted_ = std::move(interrupted);
    replayStart_ = SteadyClock::now();
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
            anchorTime_ = SteadyClock::now();
        }
        waitUntil(anchorTime_ + std::chrono::duration_cast<SteadyClock::duration>(
                                    std::chrono::duration<double>(last_ - anchorValue_)));
    }
    return last_;
}

void ReplayClock::setTime(double /*seconds*/) {
    anchored_ = false;
}

void ReplayClock::waitForWallTime(std::uint64_t milliseconds) {
    if (paced_) {
        waitUntil(replayStart_ + std::chrono::milliseconds(milliseconds));
    }
}

void ReplayClock::waitUntil(SteadyClock::time_point until) {
    while (SteadyClock::now() < until) {
        if (interrupted_ && interrupted_()) {
            return;
        }
        std::this_thread::sleep_until(std::min(until, SteadyClock::now() + kWaitSlice));
    }
}
