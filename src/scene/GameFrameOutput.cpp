#include "scene/GameFrameOutput.h"

#include "game/GameContext.h"
#include "render/TriangleDraw.h"
#include "scene/GameResources.h"
#include "scene/ScenePass.h"
#include "text/ScreenTexts.h"

#include <glad/gl.h>

#include <GLFW/glfw3.h>

GameFrameOutput::GameFrameOutput(GLFWwindow* window, GameResources& resources)
    : window_(window), resources_(resources) {}

void GameFrameOutput::clearFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GameFrameOutput::setClearColor(const glm::vec4& colour) {
    glClearColor(colour.r, colour.g, colour.b, colour.a);
}

void GameFrameOutput::drawScreenTexts(Screen screen) {
    ::drawScreenTexts(*resources_.textRenderer, screen);
}

void GameFrameOutput::drawScene(GameContext& context) {
    runScenePass(context, resources_);
}

void GameFrameOutput::drawRelicScene(GameContext& context) {
    runRelicScenePass(context, resources_);
}

void GameFrameOutput::drawStatusTexts(const GameContext& context) {
    ::drawStatusTexts(*resources_.textRenderer, context.clock.hudVisible,
                      context.clock.remainingSeconds, context.game.relicCount,
                      context.clock.displayedFps);
}

void GameFrameOutput::drawRelicHint() {
    ::drawRelicHint(*resources_.textRenderer);
}

void GameFrameOutput::swapBuffers() {
    if (window_ != nullptr) {
        glfwSwapBuffers(window_);
    }
}

void GameFrameOutput::applyRasterState(bool wireframe, bool cullingEnabled) {
    setWireframe(wireframe);
    if (cullingEnabled) {
        glEnable(GL_CULL_FACE);
    } else {
        glDisable(GL_CULL_FACE);
    }
}
