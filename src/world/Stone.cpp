#include "world/Stone.h"

#include "world/Random.h"

#include <glm/gtc/matrix_transform.hpp>

namespace {

constexpr int kLaneKinds = 3;
constexpr glm::vec3 kTallScale{1.0f, 2.5f, 1.0f};
constexpr glm::vec3 kLowScale{1.0f, 0.8f, 0.4f};
constexpr float kMiddleLaneX = 1.0f;

} // namespace

Stone Stone::create(Random& random, float anchorZ, float laneSpan, Model* model) {
    Stone stone;
    stone.model = model;
    switch (random.next() % kLaneKinds) {
    case 0:
        stone.position.x = 0.5f * laneSpan;
        stone.scale = kTallScale;
        break;
    case 1:
        stone.position.x = 0.0f;
        stone.scale = kTallScale;
        break;
    default:
        stone.position.x = kMiddleLaneX;
        stone.scale = kLowScale;
        break;
    }
    stone.position.y = 0.0f;
    stone.position.z = anchorZ + kSpawnDistance;
    stone.hitBox = HitBox{stone.position, stone.scale};
    return stone;
}

glm::mat4 Stone::modelMatrix() const {
    return glm::scale(glm::translate(glm::mat4(1.0f), position), scale);
}
