#pragma once

#include "game/PassInput.h"

#include <vector>

class FrameOutput;
class GameClock;
class GameSounds;
struct GameContext;

// What the window callbacks need to act on the game; set as the window's user pointer.
struct Application {
    GameContext& context;
    GameClock& clock;
    FrameOutput& output;
    // Key releases and wheel turns the window's callbacks gathered and no pass has taken yet.
    std::vector<PassCommand> windowCommands{};
    // None when the game plays silently.
    GameSounds* sounds = nullptr;
};
