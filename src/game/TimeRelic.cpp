#include "game/TimeRelic.h"

#include "game/FrameOutput.h"
#include "game/GameClock.h"
#include "game/GameContext.h"
#include "game/GameRules.h"

namespace {

constexpr int kPauseMilliseconds = 1000;
constexpr float kHintIntervalMin = 8.0f;
constexpr float kHintIntervalMax = 12.0f;
constexpr double kHintVisibleUntil = 0.9;
constexpr float kReplacedHintBase = 3.0f;
constexpr float kReplacedHintSpread = 3.0f;
constexpr float kMiddleLaneX = 1.0f;

glm::vec3 playerPosition(const Player& player) {
    return glm::vec3(player.x, player.y, player.z);
}

void placeClockAroundPlayer(GameContext& context) {
    context.clockSlot =
        Clock::create(context.random, playerPosition(context.player), context.links.clockModel);
}

// A clock placed on a stone cannot be reached: place it anew and give the hint clock a short
// interval so the next chance comes soon.
void replaceClocksOnStones(GameContext& context) {
    for (const Stone& stone : context.stones.stones) {
        if (context.player.hitBox.intersects(stone.getHitBox())) {
            endGame(context, GameState::Lost);
            return;
        }
        if (!context.clockSlot.collected &&
            stone.getHitBox().intersects(context.clockSlot.getHitBox())) {
            placeClockAroundPlayer(context);
            context.game.relicTimer = 0.0f;
            context.timing.relicHintInterval =
                kReplacedHintSpread * randomUnit(context.random) + kReplacedHintBase;
        }
    }
}

// The player is put back where T was pressed, facing down the path, with the usual camera.
void returnPlayerAfterPickup(GameContext& context) {
    Player& player = context.player;
    const glm::vec3 back = context.relic.relicReturnPosition;
    player.x = back.x;
    player.y = back.y;
    player.z = back.z;
    player.heading = 0.0f;
    context.camera.follow(glm::vec3(kMiddleLaneX, back.y, back.z), 0.0f);
    context.camera.distance = Camera::kDefaultDistance;
}

bool pickUpRelic(GameContext& context) {
    Clock& clock = context.clockSlot;
    if (clock.collected || !context.player.hitBox.intersects(clock.getHitBox())) {
        return false;
    }
    clock.collected = true;
    returnPlayerAfterPickup(context);
    context.relic.relicMode = false;
    ++context.game.relicCount;
    context.report(GameEvent::ClockCollected);
    return true;
}

} // namespace

void raiseRelicHint(GameContext& context) {
    if (context.game.relicTimer >= context.timing.relicHintInterval &&
        context.clock.closedFpsWindow() && context.player.state != Player::kInAir) {
        context.relic.relicHintRaised = true;
        context.report(GameEvent::RelicHintRaised);
        context.game.relicTimer = 0.0f;
        context.timing.relicHintInterval =
            randomRange(context.random, kHintIntervalMin, kHintIntervalMax);
    }
}

void showRelicHint(GameContext& context, FrameOutput& output) {
    if (!context.relic.relicHintRaised) {
        return;
    }
    if (context.clock.fpsAccumulator > kHintVisibleUntil) {
        context.relic.relicHintRaised = false;
        return;
    }
    output.drawRelicHint();
}

void activateRelicMode(GameContext& context) {
    const Player& player = context.player;
    context.relic.relicReturnPosition = playerPosition(player);
    context.relic.relicMode = true;
    context.relic.relicHintRaised = false;
    context.player.turnRate = 0.0f;
    context.report(GameEvent::RelicModeOn);
}

void runRelicFrame(GameContext& context, GameClock& clock, FrameOutput& output) {
    if (context.clockSlot.collected) {
        placeClockAroundPlayer(context);
    }
    movePlayer(context);
    updateParticleSystems(context);
    replaceClocksOnStones(context);
    const bool pickedUp = pickUpRelic(context);
    output.drawRelicScene(context);
    checkGameEnd(context);
    output.drawStatusTexts(context);
    output.swapBuffers();
    if (pickedUp) {
        clock.sleepMilliseconds(kPauseMilliseconds);
        context.clock.remeasure(clock.now());
    }
}
