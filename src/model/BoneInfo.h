#pragma once

#include <glm/glm.hpp>

// One bone of a model's skeleton: its offset (mesh space to bone space) and the skinning
// matrix the animator writes at every animated draw.
struct BoneInfo {
    glm::mat4 offset{1.0f};
    glm::mat4 finalTransform{1.0f};
};
