#include "RulesTestSupport.h"

#include "game/GameRules.h"
#include "game/GameStart.h"
#include "render/DirectionalLight.h"

#include <algorithm>

Stone stoneAt(float x, float z) {
    Stone stone;
    stone.position = glm::vec3(x, 0.0f, z);
    stone.scale = glm::vec3(1.0f, 2.5f, 1.0f);
    stone.hitBox = HitBox{stone.position, stone.scale};
    return stone;
}

Clock clockAt(const glm::vec3& position) {
    Clock clock = Clock::emptySlot();
    clock.position = position;
    clock.hitBox = HitBox{position, clock.scale};
    clock.collected = false;
    return clock;
}

void RecordingOutput::drawScene(GameContext& context) {
    calls.push_back("scene");
    if (context.links.directionalLight != nullptr) {
        lightColorAtScene = context.links.directionalLight->color;
    }
}

void RecordingOutput::setClearColor(const glm::vec4& colour) {
    calls.push_back("clearColor(" + std::to_string(colour.r) + "," + std::to_string(colour.g) +
                    "," + std::to_string(colour.b) + ")");
}

void RecordingOutput::drawScreenTexts(Screen screen) {
    calls.push_back("screen" + std::to_string(static_cast<int>(screen)));
}

void RecordingOutput::applyRasterState(bool wireframe, bool cullingEnabled) {
    const auto name = [](bool value) { return value ? "true" : "false"; };
    calls.push_back(std::string("raster(") + name(wireframe) + "," + name(cullingEnabled) + ")");
}

int RecordingOutput::count(const std::string& call) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

RulesFixture::RulesFixture() {
    context.links.directionalLight = &light;
    context.links.events = &events;
    startGame(context, clock, output);
    output.calls.clear();
    events.reported.clear();
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
