#include "world/HitBox.h"
#include "RandomTestHelpers.h"
#include "world/Clock.h"
#include "world/Stone.h"

#include <gtest/gtest.h>

namespace {

HitBox box(glm::vec3 position, glm::vec3 size) {
    return HitBox{position, size};
}

// The player's box as the player record keeps it: feet at y, one unit each way.
HitBox playerBox(float x, float feetY, float z) {
    return box({x, feetY, z}, {1.0f, 1.0f, 1.0f});
}

// Overlap must not depend on which box asks.
void expectOverlap(const HitBox& a, const HitBox& b, bool expected) {
    EXPECT_EQ(a.intersects(b), expected);
    EXPECT_EQ(b.intersects(a), expected);
}

const HitBox kLowStone = box({1.0f, 0.0f, 10.0f}, {1.0f, 0.8f, 0.4f});

} // namespace

TEST(HitBox, FacesThatTouchOverlapAndAnyGapSeparates) {
    const HitBox a = box({0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f});
    expectOverlap(a, box({1.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f}), true);
    expectOverlap(a, box({0.0f, 0.0f, -1.0f}, {1.0f, 1.0f, 1.0f}), true);
    expectOverlap(a, box({1.001f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f}), false);
    expectOverlap(a, box({0.0f, 0.0f, 1.001f}, {1.0f, 1.0f, 1.0f}), false);
    expectOverlap(a, box({0.0f, 1.001f, 0.0f}, {1.0f, 1.0f, 1.0f}), false);
    // y is the bottom face, not the centre: a box hanging from y = 1 up is clear of one
    // that starts at 1.001.
    expectOverlap(box({0.0f, -2.0f, 0.0f}, {1.0f, 3.0f, 1.0f}), a, true);
    expectOverlap(box({0.0f, -2.0f, 0.0f}, {1.0f, 1.999f, 1.0f}), a, false);
}

TEST(HitBox, FlatBoxRestingOnTopOverlapsAndContainedBoxOverlaps) {
    const HitBox ground = box({0.0f, 0.0f, 0.0f}, {2.0f, 1.0f, 2.0f});
    expectOverlap(ground, box({0.0f, 1.0f, 0.0f}, {1.0f, 0.0f, 1.0f}), true);
    expectOverlap(ground, box({0.2f, 0.2f, 0.2f}, {0.1f, 0.1f, 0.1f}), true);
}

TEST(HitBox, LowStoneBlocksBothLanesUntilTheFeetClearItsTop) {
    for (float laneX : {0.0f, 2.0f}) {
        SCOPED_TRACE(laneX);
        expectOverlap(playerBox(laneX, 0.0f, 10.0f), kLowStone, true);
        expectOverlap(playerBox(laneX, 0.8f, 10.0f), kLowStone, true);
        expectOverlap(playerBox(laneX, 0.81f, 10.0f), kLowStone, false);
    }
    // The stone is thin: a player 0.7 before it has not reached it yet.
    expectOverlap(playerBox(0.0f, 0.0f, 9.29f), kLowStone, false);
}

TEST(HitBox, TallStoneBlocksOnlyItsOwnLane) {
    Random random = randomWhere([](Random& probe) { return probe.next() % 3 == 1; });
    const Stone stone = Stone::create(random, 0.0f, 4.0f, nullptr);
    expectOverlap(playerBox(0.0f, 0.0f, 10.0f), stone.getHitBox(), true);
    expectOverlap(playerBox(0.0f, 2.5f, 10.0f), stone.getHitBox(), true);
    expectOverlap(playerBox(2.0f, 0.0f, 10.0f), stone.getHitBox(), false);
}

TEST(HitBox, LowClockIsTouchedStandingHighClockOnlyNearAJumpsTop) {
    Clock low;
    low.hitBox = box({0.0f, 1.0f, 5.0f}, glm::vec3(Clock::kScale));
    Clock high;
    high.hitBox = box({0.0f, 2.0f, 5.0f}, glm::vec3(Clock::kScale));

    expectOverlap(playerBox(0.0f, 0.0f, 5.0f), low.getHitBox(), true);
    expectOverlap(playerBox(0.0f, 0.0f, 5.0f), high.getHitBox(), false);
    expectOverlap(playerBox(0.0f, 0.99f, 5.0f), high.getHitBox(), false);
    expectOverlap(playerBox(0.0f, 1.0f, 5.0f), high.getHitBox(), true);
    // A clock is 0.5 wide: 0.75 to the side of the player's centre is still within reach.
    expectOverlap(playerBox(0.75f, 0.0f, 5.0f), low.getHitBox(), true);
    expectOverlap(playerBox(0.76f, 0.0f, 5.0f), low.getHitBox(), false);
}
