#pragma once

#include <glm/glm.hpp>

// A white light at the world origin; attenuation holds the constant, linear and quadratic
// distance coefficients in that order.
struct PointLight {
    glm::vec3 color{1.0f, 1.0f, 1.0f};
    glm::vec3 position{0.0f, 0.0f, 0.0f};
    glm::vec3 attenuation{1.0f, 0.2f, 0.1f};
};
