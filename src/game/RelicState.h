#pragma once

#include <glm/glm.hpp>

// The time relic: the flashing hint that accepts T, the walk to the clock, and where to return.
struct RelicState {
    bool relicHintRaised = false;
    bool relicMode = false;
    glm::vec3 relicReturnPosition{0.0f, 0.0f, 0.0f};
};
