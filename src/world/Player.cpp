#include "world/Player.h"

#include "render/Camera.h"
#include "world/PortableTrig.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

namespace {

constexpr glm::vec3 kHitBoxSize{1.0f, 1.0f, 1.0f};
constexpr glm::vec3 kUp{0.0f, 1.0f, 0.0f};

} // namespace

Player::Player(Model* model, Camera* camera, float x, float y, float z, float speed,
               float jumpVelocity)
    : x(x), y(y), startX(x), startY(y), startZ(z), startSpeed(speed), z(z), speed(speed),
      jumpVelocity(jumpVelocity), model(model),
      camera(camera), hitBox{glm::vec3(x, y, z), kHitBoxSize} {}

void Player::update(float dt) {
    z += dt * speed;
    updateVertical(dt);
}

void Player::updateRelicMotion(float dt) {
    heading += turnRate * dt;
    const float w = heading * kDegToRad;
    z += portableCos(w) * moveSpeed * dt;
    x += portableSin(w) * moveSpeed * dt;
    updateVertical(dt);
}

// Velocity advances in two half steps around the position step, which keeps the jump's height
// and length nearly independent of the frame rate.
void Player::updateVertical(float dt) {
    float startVelocity = verticalVelocity;
    if (jumpRequested) {
        startVelocity = jumpVelocity;
        state = kInAir;
        jumpRequested = false;
    }
    const float halfStep = gravity * 0.5f * dt;
    float midVelocity = startVelocity + halfStep;
    y += midVelocity * dt;
    if (y <= 0.0f) {
        y = 0.0f;
        midVelocity = 0.0f;
        state = kOnGround;
        animationIndex = kRunClip;
    }
    hitBox.position = glm::vec3(x, y, z);
    verticalVelocity = midVelocity + halfStep;
}

void Player::resetForGameStart() {
    x = startX;
    y = startY;
    z = startZ;
    speed = startSpeed;
    hitBox.position = glm::vec3(startX, startY, startZ);
    lane = 0;
    state = kOnGround;
    jumpRequested = false;
    heading = 0.0f;
    turnRate = 0.0f;
    moveSpeed = 0.0f;
    // A game lost in mid-jump would otherwise leave the upward speed and the jump clip behind,
    // and the new game would open with a hop the player never asked for.
    verticalVelocity = 0.0f;
    animationIndex = kRunClip;
}

void Player::placeCamera(bool relicMode) {
    if (camera == nullptr) {
        return;
    }
    camera->follow(glm::vec3(relicMode ? x : kMiddleLaneX, y, z), heading);
}

glm::mat4 Player::modelMatrix() const {
    glm::mat4 matrix = glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z));
    matrix = glm::scale(matrix, glm::vec3(kModelScale));
    return glm::rotate(matrix, heading * kDegToRad, kUp);
}
