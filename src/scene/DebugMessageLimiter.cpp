#include "scene/DebugMessageLimiter.h"

DebugMessageLimiter::Verdict DebugMessageLimiter::onMessage(const std::string& message,
                                                            double seconds) {
    Verdict verdict;
    int& seen = timesSeen(message);
    if (seen < kTimesShown) {
        ++seen;
        verdict.show = true;
        return verdict;
    }
    if (unreportedRepeats_ == 0) {
        countingSince_ = seconds;
    }
    ++unreportedRepeats_;
    if (seconds - countingSince_ >= kSummaryInterval) {
        verdict.summarizedRepeats = takeUnreportedRepeats();
    }
    return verdict;
}

long DebugMessageLimiter::takeUnreportedRepeats() {
    const long repeats = unreportedRepeats_;
    unreportedRepeats_ = 0;
    return repeats;
}

int& DebugMessageLimiter::timesSeen(const std::string& message) {
    const auto found = timesSeen_.find(message);
    if (found != timesSeen_.end()) {
        return found->second;
    }
    if (timesSeen_.size() >= kDistinctMessages) {
        return timesSeenOfOthers_;
    }
    return timesSeen_[message];
}
