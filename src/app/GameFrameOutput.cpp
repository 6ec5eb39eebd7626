#include "app/GameFrameOutput.h"

#include <glad/gl.h>

#include <GLFW/glfw3.h>

GameFrameOutput::GameFrameOutput(GLFWwindow* window) : window_(window) {}

void GameFrameOutput::drawScene(GameContext& /*context*/) {}

void GameFrameOutput::drawRelicScene(GameContext& /*context*/) {}

void GameFrameOutput::drawStatusTexts(const GameContext& /*context*/) {}

void GameFrameOutput::drawRelicHint() {}

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
