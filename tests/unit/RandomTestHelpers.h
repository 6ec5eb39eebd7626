#pragma once

#include "world/Random.h"

#include <functional>

// The earliest point of the sequence whose upcoming draws satisfy `wanted` (it receives a
// copy to draw from), so a test can feed chosen values into the code under test.
inline Random randomWhere(const std::function<bool(Random&)>& wanted) {
    Random random;
    for (;;) {
        Random probe = random;
        if (wanted(probe)) {
            return random;
        }
        random.next();
    }
}

// Just before the first draw equal to `value`.
inline Random randomBefore(int value) {
    return randomWhere([value](Random& probe) { return probe.next() == value; });
}

inline Random advanced(Random random, int draws) {
    for (int i = 0; i < draws; ++i) {
        random.next();
    }
    return random;
}

// True when both generators stand at the same point of the sequence (checked on several
// upcoming draws so one coincidence cannot pass).
inline bool sameUpcomingDraws(Random a, Random b) {
    constexpr int kCompared = 4;
    for (int i = 0; i < kCompared; ++i) {
        if (a.next() != b.next()) {
            return false;
        }
    }
    return true;
}
