#pragma once

#include <glm/glm.hpp>

// The scene's one distant light: a dim grey shining downwards and towards -z. Play turns its
// colour red during a phase switch and back again.
struct DirectionalLight {
    glm::vec3 color{0.2f, 0.2f, 0.2f};
    glm::vec3 direction{0.0f, -0.70710677f, -0.70710677f};
};
