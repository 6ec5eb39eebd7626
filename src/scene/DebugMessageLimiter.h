#pragma once

#include <string>
#include <unordered_map>

// Keeps a debug message repeated every frame (a damaged shader leaves its program in use) from
// flooding standard error: each distinct message is shown the first few times, its later
// repeats are only counted, and the count goes out in at most one summary line a second.
class DebugMessageLimiter {
  public:
    static constexpr int kTimesShown = 3;
    static constexpr double kSummaryInterval = 1.0;
    // Beyond this many distinct messages, new ones share one count, so that messages that
    // differ every time cannot grow the table or the output without bound.
    static constexpr std::size_t kDistinctMessages = 256;

    struct Verdict {
        bool show = false;
        // Repeats left out since the last summary, to be reported now before the message; zero
        // when no summary is due.
        long summarizedRepeats = 0;
    };

    Verdict onMessage(const std::string& message, double seconds);

    // Repeats counted since the last summary, and forgets them: for the summary at exit.
    long takeUnreportedRepeats();

  private:
    int& timesSeen(const std::string& message);

    std::unordered_map<std::string, int> timesSeen_;
    int timesSeenOfOthers_ = 0;
    long unreportedRepeats_ = 0;
    double countingSince_ = 0.0;
};
