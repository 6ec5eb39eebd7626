#include "world/Player.h"
#include "render/Camera.h"

#include <gtest/gtest.h>

namespace {

// The game's own construction of the runner.
Player gamePlayer(Camera* camera = nullptr) {
    return Player(nullptr, camera, -0.0f, 0.0f, 0.0f, 10.0f, 10.0f);
}

struct JumpRecord {
    float peak = 0.0f;
    float airTime = 0.0f;
};

JumpRecord jump(Player& player, float dt) {
    JumpRecord record;
    player.jumpRequested = true;
    player.animationIndex = Player::kJumpClip;
    do {
        player.update(dt);
        record.airTime += dt;
        record.peak = std::max(record.peak, player.y);
    } while (player.state == Player::kInAir && record.airTime < 5.0f);
    return record;
}

} // namespace

TEST(Player, JumpStartsAtHalfStepHeightAndPeaksNearOnePointFourThree) {
    Player player = gamePlayer();
    const float dt = 1.0f / 60.0f;
    player.jumpRequested = true;
    player.update(dt);
    EXPECT_EQ(player.state, Player::kInAir);
    EXPECT_FALSE(player.jumpRequested);
    EXPECT_FLOAT_EQ(player.y, (10.0f - 17.5f * dt) * dt);
    EXPECT_FLOAT_EQ(player.z, 10.0f * dt);

    Player fine = gamePlayer();
    const JumpRecord record = jump(fine, 0.0005f);
    EXPECT_NEAR(record.peak, 100.0f / 70.0f, 0.005f);
    EXPECT_NEAR(record.airTime, 20.0f / 35.0f, 0.002f);
    EXPECT_EQ(fine.state, Player::kOnGround);
    EXPECT_EQ(fine.animationIndex, Player::kRunClip);
    EXPECT_EQ(fine.y, 0.0f);
}

TEST(Player, JumpHeightBarelyDependsOnTheFrameRate) {
    Player slow = gamePlayer();
    Player fast = gamePlayer();
    const JumpRecord at30 = jump(slow, 1.0f / 30.0f);
    const JumpRecord at1000 = jump(fast, 0.001f);
    EXPECT_NEAR(at30.peak, at1000.peak, 0.02f);
    EXPECT_NEAR(at30.airTime, at1000.airTime, 1.0f / 30.0f);
}

TEST(Player, ZeroFrameTimeConsumesTheRequestAndLandsAtOnce) {
    Player player = gamePlayer();
    player.jumpRequested = true;
    player.update(0.0f);
    EXPECT_FALSE(player.jumpRequested);
    EXPECT_EQ(player.state, Player::kOnGround);
    EXPECT_EQ(player.y, 0.0f);
    EXPECT_EQ(player.z, 0.0f);
    EXPECT_EQ(player.verticalVelocity, 0.0f);
}

TEST(Player, StandingKeepsTheFeetOnTheGround) {
    Player player = gamePlayer();
    player.update(0.1f);
    EXPECT_EQ(player.y, 0.0f);
    EXPECT_FLOAT_EQ(player.verticalVelocity, -35.0f * 0.5f * 0.1f);
    player.update(0.1f);
    EXPECT_EQ(player.y, 0.0f);
}

TEST(Player, ReversedSpeedRunsBackPastTheStartUnclamped) {
    Player player = gamePlayer();
    player.speed = -8.0f;
    player.update(0.5f);
    EXPECT_FLOAT_EQ(player.z, -4.0f);
    EXPECT_FLOAT_EQ(player.hitBox.position.z, -4.0f);
}

TEST(Player, RelicWalkFollowsTheHeadingAndIgnoresTheRunningSpeed) {
    Player player = gamePlayer();
    player.moveSpeed = 2.0f * player.walkSpeed;
    player.updateRelicMotion(0.5f);
    EXPECT_FLOAT_EQ(player.z, 9.0f);
    EXPECT_NEAR(player.x, 0.0f, 1e-6f);

    // Turning at 100 degrees a second for 0.9 s faces +x before the step is taken.
    player.turnRate = player.turnSpeed;
    player.updateRelicMotion(0.9f);
    EXPECT_FLOAT_EQ(player.heading, 90.0f);
    EXPECT_NEAR(player.x, 16.2f, 1e-4f);
    EXPECT_NEAR(player.z, 9.0f, 1e-4f);
    EXPECT_EQ(player.hitBox.position, glm::vec3(player.x, player.y, player.z));

    player.turnRate = 0.0f;
    player.moveSpeed = -2.0f * player.walkSpeed;
    player.jumpRequested = true;
    player.updateRelicMotion(0.1f);
    EXPECT_NEAR(player.x, 14.4f, 1e-4f);
    EXPECT_EQ(player.state, Player::kInAir);
    EXPECT_GT(player.y, 0.0f);
}

TEST(Player, DrawnFacingMatchesTheWalkingDirection) {
    Player player = gamePlayer();
    player.heading = 90.0f;
    player.x = 3.0f;
    player.y = 0.5f;
    player.z = 7.0f;
    const glm::mat4 m = player.modelMatrix();
    const glm::vec4 feet = m * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(glm::vec3(feet), glm::vec3(3.0f, 0.5f, 7.0f));
    // The character is modelled facing +z; at heading 90 it must face +x, where it walks.
    const glm::vec4 forward = m * glm::vec4(0.0f, 0.0f, 1.0f, 0.0f);
    EXPECT_NEAR(forward.x, Player::kModelScale, 1e-7f);
    EXPECT_NEAR(forward.z, 0.0f, 1e-7f);
}

TEST(Player, CameraLooksAtTheMiddleLaneWhileRunningAndAtThePlayerInRelicMode) {
    Camera camera;
    Player player = gamePlayer(&camera);
    player.x = 2.0f;
    player.z = 50.0f;
    // Without a model, drawing only places the camera (and touches no GL).
    player.draw(nullptr, false);
    EXPECT_EQ(camera.target, glm::vec3(1.0f, 0.0f, 50.0f));
    EXPECT_NEAR(camera.position.x, 1.0f, 1e-5f);
    EXPECT_NEAR(camera.position.y, 9.1923885f, 1e-4f);
    EXPECT_NEAR(camera.position.z, 40.807611f, 1e-4f);

    camera.distance = 10.0f;
    player.heading = 90.0f;
    player.x = 3.0f;
    player.z = 5.0f;
    player.placeCamera(true);
    EXPECT_EQ(camera.target, glm::vec3(3.0f, 0.0f, 5.0f));
    EXPECT_EQ(camera.yaw, 90.0f);
    EXPECT_NEAR(camera.position.x, 3.0f - 7.0710678f, 1e-4f);
    EXPECT_NEAR(camera.position.y, 7.0710678f, 1e-4f);
    EXPECT_NEAR(camera.position.z, 5.0f, 1e-4f);
}

TEST(Player, GameStartRestoresARunnerLostInMidJump) {
    Camera camera;
    Player player = gamePlayer(&camera);
    player.jumpRequested = true;
    player.animationIndex = Player::kJumpClip;
    player.update(0.05f);
    ASSERT_GT(player.verticalVelocity, 0.0f);
    player.lane = 1;
    player.x = 2.0f;
    player.speed = -8.0f;
    player.heading = 45.0f;
    player.turnRate = 100.0f;
    player.moveSpeed = 18.0f;
    player.jumpRequested = true;

    player.resetForGameStart();
    EXPECT_EQ(glm::vec3(player.x, player.y, player.z), glm::vec3(0.0f));
    EXPECT_EQ(player.hitBox.position, glm::vec3(0.0f));
    EXPECT_EQ(player.speed, 10.0f);
    EXPECT_EQ(player.lane, 0);
    EXPECT_EQ(player.state, Player::kOnGround);
    EXPECT_FALSE(player.jumpRequested);
    EXPECT_EQ(player.heading, 0.0f);
    EXPECT_EQ(player.turnRate, 0.0f);
    EXPECT_EQ(player.moveSpeed, 0.0f);
    EXPECT_EQ(player.animationIndex, Player::kRunClip);

    // The new game's first frame must not carry the old jump on.
    player.update(1.0f / 60.0f);
    EXPECT_EQ(player.y, 0.0f);
    EXPECT_EQ(player.state, Player::kOnGround);
}
