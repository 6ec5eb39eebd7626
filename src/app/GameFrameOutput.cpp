#include "app/GameFrameOutput.h"

#include "app/GameResources.h"
#include "app/ScenePass.h"
#include "game/GameContext.h"
#include "text/ScreenTexts.h"

#include <glad/gl.h>

#include <GLFW/glfw3.h>

GameFrameOutput::GameFrameOutput(GLFWwindow* window, GameResources& resources)
    : window_(window), resources_(resources) {}

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
    glfwSwapBuffers(window_);
}

void GameFrameOutput::applyRasterState(bool wireframe, bool cullingEnabled) {
    glPolygonMode(GL_FRONT_AND_BACK, wireframe ? GL_LINE : GL_FILL);
    if (cullingEnabled) {
        glEnable(GL_CULL_FACE);
    } else {
        glDisable(GL_CULL_FACE);
    }
}
