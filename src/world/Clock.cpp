#include "world/Clock.h"

#include "world/Random.h"

#include <glm/gtc/matrix_transform.hpp>

namespace {

constexpr float kScatterSpan = 24.0f;
constexpr float kHighHeight = 2.0f;
constexpr float kLowHeight = 1.0f;
// The clock face is modelled towards +x; a quarter turn shows it to the running camera.
constexpr float kQuarterTurn = 1.5707964f;

float scatterOffset(Random& random) {
    return kScatterSpan * randomUnit(random) - kScatterSpan / 2.0f;
}

} // namespace

Clock Clock::create(Random& random, const glm::vec3& anchor, Model* model) {
    const float dx = scatterOffset(random);
    const float dz = scatterOffset(random);
    const float height = random.next() % 2 == 0 ? kHighHeight : kLowHeight;

    Clock clock;
    clock.position = glm::vec3(anchor.x + dx, height, anchor.z + dz);
    clock.model = model;
    clock.hitBox = HitBox{clock.position, clock.scale};
    clock.collected = false;
    return clock;
}

Clock Clock::emptySlot() {
    Clock clock;
    clock.collected = true;
    return clock;
}

glm::mat4 Clock::modelMatrix() const {
    const glm::mat4 placed = glm::scale(glm::translate(glm::mat4(1.0f), position), scale);
    return glm::rotate(placed, kQuarterTurn, glm::vec3(0.0f, 1.0f, 0.0f));
}
