#include "game/GameRules.h"

#include "game/FrameOutput.h"
#include "game/GameClock.h"
#include "game/GameContext.h"
#include "game/TimeRelic.h"
#include "render/DirectionalLight.h"
#include "world/ParticleSystem.h"

namespace {

constexpr int kPauseMilliseconds = 1000;
constexpr float kForwardSpeed = 10.0f;
constexpr float kReversedSpeed = -8.0f;
constexpr float kLaneSpan = 4.0f;
constexpr float kStoneIntervalMin = 0.5f;
constexpr float kStoneIntervalMax = 1.5f;
constexpr float kGameLength = 90.0f;
constexpr int kRelicsToWin = 3;
const glm::vec3 kSwitchLightColor{1.0f, 0.0f, 0.0f};
const glm::vec3 kDaylightColor{0.2f, 0.2f, 0.2f};

void setDirectionalLightColor(GameContext& context, const glm::vec3& color) {
    if (context.links.directionalLight != nullptr) {
        context.links.directionalLight->color = color;
    }
}

void advanceGameTimers(GameContext& context) {
    const float dt = context.clock.deltaTime;
    context.game.phaseTime += dt;
    context.game.spawnTimer += dt;
    context.game.relicTimer += dt;
}

void spawnStoneWhenDue(GameContext& context) {
    GameValues& game = context.game;
    if (game.reversedPhase || game.spawnTimer < context.timing.stoneSpawnInterval) {
        return;
    }
    context.stones.addStone(
        Stone::create(context.random, context.player.z, kLaneSpan, context.links.stoneModel));
    game.spawnTimer = 0.0f;
    ++context.tally.stonesSpawned;
    context.timing.stoneSpawnInterval =
        randomRange(context.random, kStoneIntervalMin, kStoneIntervalMax);
}

// Touching the clock in ordinary play counts it and nothing more; the player is not moved.
void pickUpClockInPassing(GameContext& context) {
    Clock& clock = context.clockSlot;
    if (!clock.collected && context.player.hitBox.intersects(clock.getHitBox())) {
        clock.collected = true;
        ++context.game.relicCount;
        context.report(GameEvent::ClockCollected);
    }
}

// Phase lengths are whole seconds: 6 to 11 reversed, 11 to 20 forward.
float drawPhaseDuration(Random& random, bool reversedPhase) {
    const int draw = random.next();
    return static_cast<float>(reversedPhase ? 6 + draw % 6 : 11 + draw % 10);
}

} // namespace

void updateParticleSystems(GameContext& context) {
    const float dt = context.clock.deltaTime;
    const Player& player = context.player;
    if (context.links.playerParticles != nullptr) {
        context.links.playerParticles->update(glm::vec3(player.x, player.y, player.z), true, dt,
                                              context.random);
    }
    if (context.links.clockParticles != nullptr) {
        const Clock& clock = context.clockSlot;
        if (clock.collected) {
            context.links.clockParticles->update(glm::vec3(0.0f), false, dt, context.random);
        } else {
            context.links.clockParticles->update(clock.position, true, dt, context.random);
        }
    }
}

void updateIdleParticles(GameContext& context) {
    if (context.links.playerParticles != nullptr) {
        const Player& player = context.player;
        context.links.playerParticles->update(glm::vec3(player.x, player.y, player.z), true,
                                              context.clock.deltaTime, context.random);
    }
}

void movePlayer(GameContext& context) {
    Player& player = context.player;
    const bool jumping = player.jumpRequested;
    const bool wasInAir = player.state == Player::kInAir;
    if (context.relic.relicMode) {
        player.updateRelicMotion(context.clock.deltaTime);
    } else {
        player.update(context.clock.deltaTime);
    }
    if (jumping) {
        context.report(GameEvent::Jumped);
    }
    // A jump begun on a very long frame can land on that same frame.
    if ((jumping || wasInAir) && player.state != Player::kInAir) {
        context.report(GameEvent::Landed);
    }
}

void endGame(GameContext& context, GameState result) {
    context.state = result;
    context.report(result == GameState::Won ? GameEvent::GameWon : GameEvent::GameLost);
}

bool collideWithStones(GameContext& context) {
    const HitBox playerBox = context.player.hitBox;
    for (const Stone& stone : context.stones.stones) {
        if (playerBox.intersects(stone.getHitBox())) {
            endGame(context, GameState::Lost);
            return true;
        }
    }
    return false;
}

void checkGameEnd(GameContext& context) {
    // Both times are single precision and so is their difference: a start read just after the
    // reset must not hold back a frame whose time rounds to the full 90 seconds.
    const float played = context.clock.currentTime - context.clock.gameStartTime;
    if (played >= kGameLength && context.state != GameState::Lost) {
        endGame(context, context.game.relicCount < kRelicsToWin ? GameState::Lost : GameState::Won);
    }
}

void runNormalFrame(GameContext& context, FrameOutput& output) {
    movePlayer(context);
    updateParticleSystems(context);
    spawnStoneWhenDue(context);
    raiseRelicHint(context);
    collideWithStones(context);
    pickUpClockInPassing(context);
    output.drawScene(context);
    checkGameEnd(context);
    showRelicHint(context, output);
    output.drawStatusTexts(context);
    output.swapBuffers();
}

void runPhaseSwitchFrame(GameContext& context, GameClock& clock, FrameOutput& output) {
    movePlayer(context);
    GameValues& game = context.game;
    game.reversedPhase = !game.reversedPhase;
    ++context.tally.phaseSwitches;
    context.report(GameEvent::PhaseSwitched);
    game.phaseTime = 0.0f;
    setDirectionalLightColor(context, kSwitchLightColor);
    if (game.reversedPhase) {
        context.player.speed = kReversedSpeed;
    } else {
        context.player.speed = kForwardSpeed;
        context.stones.clearStones();
    }
    output.drawScene(context);
    output.swapBuffers();
    clock.sleepMilliseconds(kPauseMilliseconds);
    context.timing.phaseDuration = drawPhaseDuration(context.random, game.reversedPhase);
    context.clock.remeasure(clock.now());
    setDirectionalLightColor(context, kDaylightColor);
}

void runPlayingFrame(GameContext& context, GameClock& clock, FrameOutput& output) {
    if (context.relic.relicMode) {
        runRelicFrame(context, clock, output);
        return;
    }
    advanceGameTimers(context);
    const bool phaseOver = context.game.phaseTime >= context.timing.phaseDuration;
    if (phaseOver && context.player.state != Player::kInAir) {
        runPhaseSwitchFrame(context, clock, output);
    } else {
        runNormalFrame(context, output);
    }
}
