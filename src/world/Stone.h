#pragma once

#include "world/HitBox.h"

#include <glm/glm.hpp>
#include <memory>

class Model;
class Random;
class Shader;

// One obstacle on the path. Stones never move: the hit box is fixed when the stone is made.
struct Stone {
    // Stones appear this far ahead of the player.
    static constexpr float kSpawnDistance = 10.0f;

    glm::vec3 position{0.0f};
    glm::vec3 scale{1.0f};
    Model* model = nullptr;
    HitBox hitBox;

    // Takes one draw to pick the lane: a tall stone in one of the two outer lanes or a low,
    // thin one in the middle that blocks both lanes unless jumped.
    static Stone create(Random& random, float anchorZ, float laneSpan, Model* model);

    void draw(const std::shared_ptr<Shader>& shader) const;
    glm::mat4 modelMatrix() const;
    HitBox getHitBox() const { return hitBox; }
};
