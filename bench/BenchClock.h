#pragma once

#include "game/GameClock.h"

// Game time that moves by one fixed frame per pass, so every run simulates the same game
// whatever the machine draws. The designed one-second freezes move game time on by their
// length without waiting, and are counted so the benchmark can leave those frames out.
class BenchClock : public GameClock {
  public:
    explicit BenchClock(double frameSeconds) : frameSeconds_(frameSeconds) {}

    double now() override { return time_; }
    void setTime(double seconds) override { time_ = seconds; }
    void sleepMilliseconds(int milliseconds) override;

    void advanceFrame() { time_ += frameSeconds_; }
    int pauses() const { return pauses_; }

  private:
    double frameSeconds_;
    double time_ = 0.0;
    int pauses_ = 0;
};
