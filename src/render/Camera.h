#pragma once

#include <glm/glm.hpp>

// Degrees to radians, rounded to float the way every angle in the game is converted.
inline constexpr float kDegToRad = 0.017453292f;

// Third-person orbit camera: the eye sits `distance` away from `target`, raised by `pitch`
// degrees and turned by `yaw` degrees (0 puts the eye on the -z side, looking towards +z).
struct Camera {
    static constexpr float kDefaultDistance = 13.0f;
    static constexpr float kMinDistance = 10.0f;
    static constexpr float kMaxDistance = 20.0f;

    float distance = kDefaultDistance;
    float pitch = 45.0f;
    glm::vec3 target{0.0f, 0.0f, 0.0f};
    float yaw = 0.0f;
    glm::vec3 position{0.0f, 0.0f, 0.0f};

    glm::mat4 getViewMatrix() const;
    void follow(const glm::vec3& newTarget, float newYaw);
    void zoom(float offset);
};

// The one perspective projection of every 3D pass: 45 degrees, a fixed 4:3 aspect, 0.1 to 150.
glm::mat4 sceneProjection();
