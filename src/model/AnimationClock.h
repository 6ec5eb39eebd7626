#pragma once

// Where an animated draw takes its time from when it is not SDL's tick counter: a recorded game
// rendered to a video poses the character at the recording's time, so two renders of one
// recording give the same pictures whatever the drawing cost.
class AnimationClock {
  public:
    virtual ~AnimationClock() = default;
    virtual float seconds() = 0;
};
