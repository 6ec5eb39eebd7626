#include "RulesTestSupport.h"

#include "game/GameRules.h"
#include "game/GameStart.h"
#include "render/DirectionalLight.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

Stone stoneAt(float x, float z) {
    Stone stone;
    stone.position = glm::vec3(x, 0.0f, z);
    stone.scale = glm::vec3(1.0f, 2.5f, 1.0f);
    stone.hitBox = HitBox{stone.position, stone.scale};
    return stone;
}

void RecordingOutput::drawScene(GameContext& context) {
    calls.push_back("scene");
    if (context.links.directionalLight != nullptr) {
        lightColorAtScene = context.links.directionalLight->color;
    }
}

int RecordingOutput::count(const std::string& call) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

RulesFixture::RulesFixture() {
    context.links.directionalLight = &light;
    startGame(context, clock, output);
    output.calls.clear();
}

void RulesFixture::restart() {
    startGame(context, clock, output);
    output.calls.clear();
}

void RulesFixture::frame(double dt) {
    clock.time += dt;
    context.clock.tick(clock.now());
    runPlayingFrame(context, clock, output);
}

void RulesFixture::forceDraw(int skipped, int value) {
    // Step the generator backwards from a state whose high bits are the wanted value.
    constexpr std::uint32_t kMultiplier = 214013u;
    constexpr std::uint32_t kIncrement = 2531011u;
    std::uint32_t inverse = kMultiplier;
    for (int step = 0; step < 5; ++step) {
        inverse *= 2u - kMultiplier * inverse;
    }
    std::uint32_t state = ((static_cast<std::uint32_t>(value) << 16) - kIncrement) * inverse;
    for (int step = 0; step < skipped; ++step) {
        state = (state - kIncrement) * inverse;
    }
    context.random = Random(state);
    Random probe = context.random;
    for (int step = 0; step < skipped; ++step) {
        probe.next();
    }
    if (probe.next() != value) {
        throw std::runtime_error("could not steer the generator");
    }
}
