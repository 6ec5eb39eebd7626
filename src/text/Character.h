#pragma once

#include <glm/glm.hpp>

// One rasterised glyph: its texture and the metrics that place it relative to the pen.
struct Character {
    unsigned int textureId = 0;
    glm::ivec2 size{0};       // bitmap width and rows, in pixels
    glm::ivec2 bearing{0};    // pen to the bitmap's left edge, baseline up to its top row
    unsigned int advance = 0; // pen advance in 1/64 pixel
};
