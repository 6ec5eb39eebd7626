#pragma once

#include "game/GameClock.h"

#include <cstdint>
#include <vector>

// The game clock while a game is recorded: the real clock, each value it returns kept for the
// pass's record.
class RecordingClock : public GameClock {
  public:
    explicit RecordingClock(GameClock& inner);

    double now() override;
    void setTime(double seconds) override { inner_.setTime(seconds); }
    void sleepMilliseconds(int milliseconds) override { inner_.sleepMilliseconds(milliseconds); }

    // The values returned since the recorder last emptied this.
    std::vector<std::int64_t>& reads() { return reads_; }

  private:
    GameClock& inner_;
    std::vector<std::int64_t> reads_;
};
