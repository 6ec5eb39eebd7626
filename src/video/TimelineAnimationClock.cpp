#include "video/TimelineAnimationClock.h"

#include "replay/ReplayClock.h"

float TimelineAnimationClock::seconds() {
    return static_cast<float>(clock_.shownSeconds());
}
