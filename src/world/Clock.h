#pragma once

#include "world/HitBox.h"

#include <glm/glm.hpp>
#include <memory>

class Model;
class Random;
class Shader;

// The time relic: a clock floating near the player until it is collected.
struct Clock {
    static constexpr float kScale = 0.5f;

    glm::vec3 position{0.0f};
    glm::vec3 scale{kScale};
    Model* model = nullptr;
    HitBox hitBox{glm::vec3(0.0f), glm::vec3(kScale)};
    bool collected = false;

    // Three draws: x offset, z offset (both within 12 of the anchor), then high or low.
    static Clock create(Random& random, const glm::vec3& anchor, Model* model);

    // What the clock slot holds before any relic run: already collected, so nothing is drawn
    // or tested until a real clock replaces it.
    static Clock emptySlot();

    void draw(const std::shared_ptr<Shader>& shader) const;
    glm::mat4 modelMatrix() const;
    HitBox getHitBox() const { return hitBox; }
};
