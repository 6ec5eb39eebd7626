#include "game/PlayerControls.h"

#include "game/GameContext.h"
#include "game/TimeRelic.h"

namespace {

constexpr float kLaneStep = 2.0f;

// The keys move the runner on the text screens too; only a change in play is a game moment.
void moveToLane(GameContext& context, int lane) {
    Player& player = context.player;
    if (player.lane != lane) {
        player.x += lane == 1 ? kLaneStep : -kLaneStep;
        player.hitBox.position = glm::vec3(player.x, player.y, player.z);
        if (context.state == GameState::Playing) {
            context.report(GameEvent::LaneChanged);
        }
    }
    player.lane = lane;
}

void applyWalking(GameContext& context, const HeldKeys& keys) {
    if (!context.relic.relicMode) {
        return;
    }
    Player& player = context.player;
    if (keys.w) {
        player.moveSpeed = 2.0f * player.walkSpeed;
    } else if (keys.s) {
        player.moveSpeed = -2.0f * player.walkSpeed;
    } else {
        player.moveSpeed = 0.0f;
    }
}

// On screen the x = 2 lane lies on the left. While the run is reversed, A and D are swapped
// along with it.
void applySteering(GameContext& context, const HeldKeys& keys) {
    Player& player = context.player;
    const bool relicMode = context.relic.relicMode;
    const bool reversed = context.game.reversedPhase;
    if (keys.a) {
        if (relicMode) {
            player.turnRate = player.turnSpeed;
        } else {
            moveToLane(context, reversed ? 0 : 1);
        }
    } else if (keys.d) {
        if (relicMode) {
            player.turnRate = -player.turnSpeed;
        } else {
            moveToLane(context, reversed ? 1 : 0);
        }
    } else if (relicMode) {
        player.turnRate = 0.0f;
    }
}

} // namespace

void pollHeldKeys(GameContext& context, const HeldKeys& keys) {
    applyWalking(context, keys);
    applySteering(context, keys);
    Player& player = context.player;
    if (keys.space && player.state != Player::kInAir) {
        player.jumpRequested = true;
        player.animationIndex = Player::kJumpClip;
    }
    if (keys.t && context.relic.relicHintRaised) {
        activateRelicMode(context);
    }
}
