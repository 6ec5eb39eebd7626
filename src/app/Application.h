#pragma once

class FrameOutput;
class GameClock;
class GameSounds;
struct GameContext;

// What the window callbacks need to act on the game; set as the window's user pointer.
struct Application {
    GameContext& context;
    GameClock& clock;
    FrameOutput& output;
    // None when the game plays silently.
    GameSounds* sounds = nullptr;
};
