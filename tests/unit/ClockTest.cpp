#include "world/Clock.h"
#include "RandomTestHelpers.h"

#include <gtest/gtest.h>

TEST(Clock, ThreeDrawsGiveOffsetsThenHeight) {
    Random random;
    const glm::vec3 anchor(2.0f, 0.7f, 100.0f);
    const Clock clock = Clock::create(random, anchor, nullptr);
    // A fresh generator draws 41, 18467 and then 6334 (even: the high clock).
    EXPECT_NEAR(clock.position.x, 2.0f + 24.0f * 41.0f / 32767.0f - 12.0f, 1e-5f);
    EXPECT_NEAR(clock.position.z, 100.0f + 24.0f * 18467.0f / 32767.0f - 12.0f, 1e-4f);
    EXPECT_EQ(clock.position.y, 2.0f);
    EXPECT_FALSE(clock.collected);
    EXPECT_EQ(clock.scale, glm::vec3(0.5f));
    EXPECT_EQ(clock.getHitBox().position, clock.position);
    EXPECT_EQ(clock.getHitBox().size, glm::vec3(0.5f));
    EXPECT_TRUE(sameUpcomingDraws(random, advanced(Random{}, 3)));
}

TEST(Clock, ExtremeDrawsReachTheSquaresEdgesAndOddDrawsGiveTheLowClock) {
    Random farCorner = randomWhere(
        [](Random& probe) { return probe.next() == Random::kMax && probe.next() != Random::kMax; });
    const Clock atMax = Clock::create(farCorner, glm::vec3(0.0f, 0.0f, 50.0f), nullptr);
    EXPECT_EQ(atMax.position.x, 12.0f);

    Random nearCorner = randomBefore(0);
    const Clock atZero = Clock::create(nearCorner, glm::vec3(0.0f, 0.0f, 50.0f), nullptr);
    EXPECT_EQ(atZero.position.x, -12.0f);

    Random oddHeight = randomWhere([](Random& probe) {
        probe.next();
        probe.next();
        return probe.next() % 2 == 1;
    });
    EXPECT_EQ(Clock::create(oddHeight, glm::vec3(0.0f), nullptr).position.y, 1.0f);
}

TEST(Clock, EmptySlotIsCollectedAndModelless) {
    const Clock slot = Clock::emptySlot();
    EXPECT_TRUE(slot.collected);
    EXPECT_EQ(slot.model, nullptr);
    EXPECT_EQ(slot.position, glm::vec3(0.0f));
    EXPECT_EQ(slot.scale, glm::vec3(0.5f));
    EXPECT_EQ(slot.getHitBox().size, glm::vec3(0.5f));
}

TEST(Clock, QuarterTurnShowsThePlusXFaceToTheRunningCamera) {
    Clock clock;
    clock.position = glm::vec3(3.0f, 1.0f, 20.0f);
    const glm::mat4 m = clock.modelMatrix();
    // The turn happens in the clock's own frame: the placement itself is unchanged ...
    const glm::vec4 origin = m * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(glm::vec3(origin), clock.position);
    // ... and the modelled +x face now looks down -z, towards the camera behind the player.
    const glm::vec4 face = m * glm::vec4(1.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_NEAR(face.x, 0.0f, 1e-6f);
    EXPECT_NEAR(face.y, 0.0f, 1e-6f);
    EXPECT_NEAR(face.z, -0.5f, 1e-6f);
}
