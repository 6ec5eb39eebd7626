#include "input/WindowCallbacks.h"

#include "game/GameContext.h"
#include "game/KeyCodes.h"
#include "game/KeyCommands.h"
#include "input/Application.h"
#include "input/WindowEffects.h"

#include <glad/gl.h>

#include <GLFW/glfw3.h>

namespace {

// Null before the game is set up and after it is torn down; events then have nothing to act on.
Application* applicationOf(GLFWwindow* window) {
    return static_cast<Application*>(glfwGetWindowUserPointer(window));
}

static_assert(keys::kUnknown == GLFW_KEY_UNKNOWN && keys::kF == GLFW_KEY_F &&
                  keys::kL == GLFW_KEY_L && keys::kM == GLFW_KEY_M && keys::kO == GLFW_KEY_O &&
                  keys::kEscape == GLFW_KEY_ESCAPE && keys::kEnter == GLFW_KEY_ENTER &&
                  keys::kDown == GLFW_KEY_DOWN && keys::kUp == GLFW_KEY_UP &&
                  keys::kF1 == GLFW_KEY_F1 && keys::kF2 == GLFW_KEY_F2 && keys::kF3 == GLFW_KEY_F3,
              "recorded games keep GLFW's key codes");

} // namespace

void keyCallback(GLFWwindow* window, int key, int /*scancode*/, int action, int /*modifiers*/) {
    if (action != GLFW_RELEASE) {
        return;
    }
    if (Application* application = applicationOf(window)) {
        application->windowCommands.push_back(PassCommand::keyReleased(key));
    }
}

void runCommands(GLFWwindow* window, Application& application,
                 const std::vector<PassCommand>& commands) {
    WindowEffects effects(window, application);
    runCommands(application.context, application.clock, application.output, effects, commands);
}

void runKeyCommand(GLFWwindow* window, Application& application, int key) {
    WindowEffects effects(window, application);
    runKeyCommand(application.context, application.clock, application.output, effects, key);
}

void framebufferSizeCallback(GLFWwindow* /*window*/, int width, int height) {
    glViewport(0, 0, width, height);
}

// The cursor drives nothing in this game; the callback is registered so that stays explicit.
void cursorPositionCallback(GLFWwindow* /*window*/, double /*x*/, double /*y*/) {}

void scrollCallback(GLFWwindow* window, double /*xOffset*/, double yOffset) {
    if (Application* application = applicationOf(window)) {
        application->windowCommands.push_back(PassCommand::zoom(yOffset));
    }
}

void registerWindowCallbacks(GLFWwindow* window) {
    glfwSetKeyCallback(window, keyCallback);
    glfwSetFramebufferSizeCallback(window, framebufferSizeCallback);
    glfwSetCursorPosCallback(window, cursorPositionCallback);
    glfwSetScrollCallback(window, scrollCallback);
}
