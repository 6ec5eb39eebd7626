#pragma once

#include "game/PlayTally.h"

#include <ostream>

struct GameContext;

// One line per game as it ends, for example
//   game 1: won, 3 clocks, 90.01 s, 5071 frames, 61 stones, 7 phase switches
// The outcome is won, lost, left (Escape during play) or unfinished (the run stopped during
// play); the seconds are game time from the start to the last frame.
class GameSummaries {
  public:
    explicit GameSummaries(std::ostream& out) : out_(out) {}

    void afterPass(const GameContext& context);
    // Reports a game still in progress as unfinished.
    void finish(const GameContext& context);

  private:
    void report(const GameContext& context, const char* outcome);

    std::ostream& out_;
    PlayTally beforePass_;
    PlayTally atStart_;
    bool gameOpen_ = false;
};
