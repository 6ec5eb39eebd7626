#pragma once

#include "game/FrameClock.h"
#include "game/GameState.h"
#include "game/InputFlags.h"
#include "game/Settings.h"
#include "render/Camera.h"

// The program-wide records of the game in one place. The main loop owns it and hands it to the
// frame procedures; the window callbacks reach it through the window's user pointer.
struct GameContext {
    Settings settings;
    GameState state = GameState::StartScreen;
    FrameClock clock;
    InputFlags input;
    Camera camera;
};
