#pragma once

#include "replay/RecordingFormat.h"

#include <optional>

struct GameContext;

// Notices the passes that started a game or spawned a stone, where a recording notes the random
// generator's state and the rhythms it drew and a replay compares them.
class CheckpointWatch {
  public:
    std::optional<Checkpoint> afterPass(const GameContext& context);

  private:
    int gamesStarted_ = 0;
    int stonesSpawned_ = 0;
};
