#pragma once

// The game's only ways to read and set time and to wait: GLFW time in the game, a hand-driven
// fake in tests, so the rules run without a window and without waiting.
class GameClock {
  public:
    virtual ~GameClock() = default;
    virtual double now() = 0;
    virtual void setTime(double seconds) = 0;
    // Blocks on a steady clock; the phase switch and the relic pickup freeze the picture this way.
    virtual void sleepMilliseconds(int milliseconds) = 0;
};
