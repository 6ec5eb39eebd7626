#pragma once

#include "model/AnimationClock.h"

class ReplayClock;

// The character's animation at the time the paced replay shows the pass being drawn, so a video
// poses it as the recorded game did, however long each picture took to draw.
class TimelineAnimationClock : public AnimationClock {
  public:
    explicit TimelineAnimationClock(const ReplayClock& clock) : clock_(clock) {}
    float seconds() override;

  private:
    const ReplayClock& clock_;
};
