#include "replay/RecordingClock.h"

#include "replay/RecordingFormat.h"

namespace {
constexpr std::size_t kReservedReads = 16;
}

RecordingClock::RecordingClock(GameClock& inner) : inner_(inner) {
    reads_.reserve(kReservedReads);
}

double RecordingClock::now() {
    const double seconds = inner_.now();
    reads_.push_back(recording::ticksOf(seconds));
    return seconds;
}
