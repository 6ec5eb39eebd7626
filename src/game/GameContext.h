#pragma once

#include "game/FrameClock.h"
#include "game/GameEvents.h"
#include "game/GameState.h"
#include "game/GameValues.h"
#include "game/InputFlags.h"
#include "game/PlayTally.h"
#include "game/RelicState.h"
#include "game/Settings.h"
#include "render/Camera.h"
#include "world/Clock.h"
#include "world/Player.h"
#include "world/Random.h"
#include "world/StoneList.h"
#include "world/TimingParameters.h"

class Model;
class ParticleSystem;
struct DirectionalLight;

// Resources the rules act on but do not own: the entry point creates them, the context points at
// them. Tests point at their own or leave them empty; every rule tolerates an empty link.
struct WorldLinks {
    Model* stoneModel = nullptr;
    Model* clockModel = nullptr;
    ParticleSystem* playerParticles = nullptr;
    ParticleSystem* clockParticles = nullptr;
    DirectionalLight* directionalLight = nullptr;
    GameEvents* events = nullptr;
};

// The program-wide records of the game in one place. The main loop owns it and hands it to the
// frame procedures; the window callbacks reach it through the window's user pointer. The player
// points at the camera, so a context is never copied.
struct GameContext {
    Settings settings;
    GameState state = GameState::StartScreen;
    FrameClock clock;
    InputFlags input;
    GameValues game;
    RelicState relic;
    Camera camera;
    Player player{nullptr, &camera, -0.0f, 0.0f, 0.0f, 10.0f, 10.0f};
    StoneList stones;
    Clock clockSlot = Clock::emptySlot();
    TimingParameters timing;
    Random random;
    WorldLinks links;
    PlayTally tally;

    GameContext() = default;
    GameContext(const GameContext&) = delete;
    GameContext& operator=(const GameContext&) = delete;

    // Called before the entry point destroys the resources, so nothing here points at freed
    // models or particle systems afterwards.
    void unlinkResources();
    // Tells the linked event sink, if any, what just happened.
    void report(GameEvent event);
};
