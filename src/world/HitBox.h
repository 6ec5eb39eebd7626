#pragma once

#include <glm/glm.hpp>

// Axis-aligned collision box. x and z of `position` are the box's centre, y is its bottom face;
// `size` holds the full width, height and depth.
struct HitBox {
    glm::vec3 position{0.0f};
    glm::vec3 size{0.0f};

    // Inclusive on every face, so boxes that merely touch count as overlapping.
    bool intersects(const HitBox& other) const;
};
