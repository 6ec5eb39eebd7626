#include "app/RecordingClock.h"

#include "app/RecordingFormat.h"

#include <cmath>

namespace {
constexpr std::size_t kReservedReads = 16;
}

RecordingClock::RecordingClock(GameClock& inner) : inner_(inner) {
    reads_.reserve(kReservedReads);
}

double RecordingClock::now() {
    const auto ticks = std::llround(inner_.now() * recording::kTicksPerSecond);
    reads_.push_back(ticks);
    return static_cast<double>(ticks) / recording::kTicksPerSecond;
}
