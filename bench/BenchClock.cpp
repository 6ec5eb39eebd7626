#include "BenchClock.h"

namespace {
constexpr double kMillisecondsPerSecond = 1000.0;
}

void BenchClock::sleepMilliseconds(int milliseconds) {
    time_ += milliseconds / kMillisecondsPerSecond;
    ++pauses_;
}
