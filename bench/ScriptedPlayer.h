#pragma once

#include "game/PlayerControls.h"

struct GameContext;

// A player that only looks at the game context: dodges tall stones by changing lane, jumps the
// low ones, presses T whenever the relic hint shows and then walks (and jumps, for a high
// clock) to the relic. Every decision depends on the context alone, so the same game unfolds
// in every run.
class ScriptedPlayer {
  public:
    explicit ScriptedPlayer(double frameSeconds) : frameSeconds_(frameSeconds) {}

    HeldKeys keysFor(const GameContext& context) const;

  private:
    HeldKeys runKeys(const GameContext& context) const;
    HeldKeys relicWalkKeys(const GameContext& context) const;

    double frameSeconds_;
};
