#pragma once

#include "game/GameClock.h"

// The real game clock: GLFW time and a sleep on the steady clock.
class GlfwGameClock : public GameClock {
  public:
    double now() override;
    void setTime(double seconds) override;
    void sleepMilliseconds(int milliseconds) override;
};
