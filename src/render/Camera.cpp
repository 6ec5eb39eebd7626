#include "render/Camera.h"

#include <cmath>
#include <glm/gtc/matrix_transform.hpp>

glm::mat4 Camera::getViewMatrix() const {
    return glm::lookAt(position, target, glm::vec3(0.0f, 1.0f, 0.0f));
}

void Camera::follow(const glm::vec3& newTarget, float newYaw) {
    target = newTarget;
    yaw = newYaw;
    const float p = pitch * kDegToRad;
    const float y = yaw * kDegToRad;
    const float horizontal = std::cos(p) * distance;
    const float vertical = std::sin(p) * distance;
    position.x = target.x - std::sin(y) * horizontal;
    position.z = target.z - std::cos(y) * horizontal;
    position.y = vertical + target.y;
}

void Camera::zoom(float offset) {
    distance -= offset;
    if (distance < kMinDistance) {
        distance = kMinDistance;
    } else if (distance >= kMaxDistance) {
        distance = kMaxDistance;
    }
}

glm::mat4 sceneProjection() {
    constexpr float kFieldOfView = 0.7853982f;
    constexpr float kAspect = 4.0f / 3.0f;
    constexpr float kNear = 0.1f;
    constexpr float kFar = 150.0f;
    return glm::perspective(kFieldOfView, kAspect, kNear, kFar);
}
