#include "ScriptedPlayer.h"

#include "game/GameContext.h"

#include <cmath>

namespace {

constexpr float kTallStoneHeight = 2.0f;
constexpr float kLeftLaneX = 2.0f;
// A tall stone closer than this (in the running direction) makes the player change lane; one
// still overlapping behind the player's centre counts until it is cleared.
constexpr float kDodgeAhead = 2.0f;
constexpr float kStillOverlapping = -0.8f;
// The jump that clears a low stone is highest about 0.285 s after take-off.
constexpr float kJumpPeakSeconds = 0.285f;
// Relic walk: aim within this angle before walking, jump this far from a high clock, and back
// off when already too close to jump onto it.
constexpr float kAimDegrees = 4.0f;
constexpr float kWalkWhileTurningDegrees = 20.0f;
constexpr float kHighClockY = 1.5f;
constexpr float kHighClockJumpDistance = 5.0f;
constexpr float kHighClockTooClose = 2.5f;
constexpr float kRadToDeg = 57.29578f;
constexpr float kHalfTurn = 180.0f;
constexpr float kFullTurn = 360.0f;

bool isTall(const Stone& stone) {
    return stone.scale.y > kTallStoneHeight;
}

int laneOfTallStone(const Stone& stone) {
    return stone.position.x >= kLeftLaneX ? 1 : 0;
}

// Distance from the player to the stone along the running direction.
float aheadOf(const Player& player, const Stone& stone) {
    const float direction = player.speed >= 0.0f ? 1.0f : -1.0f;
    return (stone.position.z - player.z) * direction;
}

bool tallStoneNear(const GameContext& context, int lane) {
    for (const Stone& stone : context.stones.stones) {
        const float ahead = aheadOf(context.player, stone);
        if (isTall(stone) && laneOfTallStone(stone) == lane && ahead > kStillOverlapping &&
            ahead < kDodgeAhead) {
            return true;
        }
    }
    return false;
}

bool lowStoneAtJumpPoint(const GameContext& context) {
    const float lead = kJumpPeakSeconds * std::fabs(context.player.speed);
    for (const Stone& stone : context.stones.stones) {
        const float ahead = aheadOf(context.player, stone);
        if (!isTall(stone) && ahead > 0.0f && ahead <= lead) {
            return true;
        }
    }
    return false;
}

// On screen the x = 2 lane is on the left; A goes there while running forward, D while the
// run is reversed.
void pressForLane(HeldKeys& keys, int lane, bool reversedPhase) {
    const bool towardsLeftLane = lane == 1;
    if (towardsLeftLane != reversedPhase) {
        keys.a = true;
    } else {
        keys.d = true;
    }
}

float wrapDegrees(float degrees) {
    while (degrees > kHalfTurn) {
        degrees -= kFullTurn;
    }
    while (degrees <= -kHalfTurn) {
        degrees += kFullTurn;
    }
    return degrees;
}

} // namespace

HeldKeys ScriptedPlayer::keysFor(const GameContext& context) const {
    if (context.relic.relicMode) {
        return relicWalkKeys(context);
    }
    HeldKeys keys = runKeys(context);
    keys.t = context.relic.relicHintRaised;
    return keys;
}

HeldKeys ScriptedPlayer::runKeys(const GameContext& context) const {
    HeldKeys keys;
    const Player& player = context.player;
    const int otherLane = 1 - player.lane;
    if (tallStoneNear(context, player.lane) && !tallStoneNear(context, otherLane)) {
        pressForLane(keys, otherLane, context.game.reversedPhase);
    }
    keys.space = player.state != Player::kInAir && lowStoneAtJumpPoint(context);
    return keys;
}

HeldKeys ScriptedPlayer::relicWalkKeys(const GameContext& context) const {
    HeldKeys keys;
    const Clock& clock = context.clockSlot;
    if (clock.collected) {
        return keys;
    }
    const Player& player = context.player;
    const float dx = clock.position.x - player.x;
    const float dz = clock.position.z - player.z;
    const float distance = std::sqrt(dx * dx + dz * dz);
    // Walking moves x by sin(heading) and z by cos(heading).
    const float wanted = std::atan2(dx, dz) * kRadToDeg;
    const float turn = wrapDegrees(wanted - player.heading);
    const float turnPerFrame = player.turnSpeed * static_cast<float>(frameSeconds_);
    if (std::fabs(turn) > std::fmax(kAimDegrees, turnPerFrame)) {
        keys.a = turn > 0.0f;
        keys.d = turn < 0.0f;
    }
    const bool highClock = clock.position.y > kHighClockY;
    const bool onGround = player.state != Player::kInAir;
    if (highClock && onGround && distance < kHighClockTooClose) {
        keys.s = true;
        return keys;
    }
    keys.w = std::fabs(turn) < kWalkWhileTurningDegrees;
    keys.space = highClock && onGround && keys.w && distance <= kHighClockJumpDistance;
    return keys;
}
