#include "app/WindowCallbacks.h"

#include "app/Application.h"
#include "app/GameSounds.h"
#include "app/SettingsFile.h"
#include "game/FrameOutput.h"
#include "game/GameContext.h"
#include "game/GameStart.h"

#include <glad/gl.h>

#include <GLFW/glfw3.h>

namespace {

constexpr int kRefreshRateStep = 10;
constexpr float kBrightnessStep = 0.1f;

// Null before the game is set up and after it is torn down; events then have nothing to act on.
Application* applicationOf(GLFWwindow* window) {
    return static_cast<Application*>(glfwGetWindowUserPointer(window));
}

// The size always comes from the settings; a window leaving fullscreen is placed at (0, 0).
void toggleFullscreen(GLFWwindow* window, Settings& settings) {
    settings.fullscreen = !settings.fullscreen;
    if (window == nullptr) {
        return;
    }
    GLFWmonitor* monitor = settings.fullscreen ? glfwGetPrimaryMonitor() : nullptr;
    glfwSetWindowMonitor(window, monitor, 0, 0, settings.width, settings.height, GLFW_DONT_CARE);
}

// Hints apply only to windows created later, so this changes the stored rate alone.
void changeRefreshRate(GLFWwindow* window, Settings& settings, int step) {
    settings.refreshRate = stepRefreshRate(settings.refreshRate, step);
    if (window != nullptr) {
        glfwWindowHint(GLFW_REFRESH_RATE, settings.refreshRate);
    }
}

void onEscape(GLFWwindow* window, Application& application) {
    GameContext& context = application.context;
    if (context.state == GameState::Playing) {
        context.state = GameState::StartScreen;
        if (application.sounds != nullptr) {
            application.sounds->leavePlay();
        }
    } else if (window != nullptr) {
        glfwSetWindowShouldClose(window, GLFW_TRUE);
    }
}

void onEnter(Application& application) {
    if (application.context.state != GameState::Playing) {
        startGame(application.context, application.clock, application.output);
    }
}

void toggleWireframe(Application& application) {
    InputFlags& input = application.context.input;
    input.wireframe = !input.wireframe;
    application.output.applyRasterState(input.wireframe, input.cullingEnabled);
}

void toggleCulling(Application& application) {
    InputFlags& input = application.context.input;
    input.cullingEnabled = !input.cullingEnabled;
    application.output.applyRasterState(input.wireframe, input.cullingEnabled);
}

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
    for (const PassCommand& command : commands) {
        if (command.kind == PassCommand::Kind::Key) {
            runKeyCommand(window, application, command.key);
        } else {
            zoomCamera(application, command.steps);
        }
    }
}

void runKeyCommand(GLFWwindow* window, Application& application, int key) {
    GameContext& context = application.context;
    Settings& settings = context.settings;
    switch (key) {
    case GLFW_KEY_F:
        toggleFullscreen(window, settings);
        break;
    case GLFW_KEY_L:
        changeRefreshRate(window, settings, -kRefreshRateStep);
        break;
    case GLFW_KEY_O:
        changeRefreshRate(window, settings, kRefreshRateStep);
        break;
    case GLFW_KEY_ESCAPE:
        onEscape(window, application);
        break;
    case GLFW_KEY_ENTER:
        onEnter(application);
        break;
    case GLFW_KEY_DOWN:
        settings.shaderBrightness = stepBrightness(settings.shaderBrightness, -kBrightnessStep);
        break;
    case GLFW_KEY_UP:
        settings.shaderBrightness = stepBrightness(settings.shaderBrightness, kBrightnessStep);
        break;
    case GLFW_KEY_F1:
        toggleWireframe(application);
        break;
    case GLFW_KEY_F2:
        toggleCulling(application);
        break;
    case GLFW_KEY_F3:
        context.clock.hudVisible = !context.clock.hudVisible;
        break;
    case GLFW_KEY_M:
        if (application.sounds != nullptr) {
            application.sounds->toggleMute();
        }
        break;
    default:
        break;
    }
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

void zoomCamera(Application& application, double steps) {
    application.context.camera.zoom(static_cast<float>(steps));
}

void registerWindowCallbacks(GLFWwindow* window) {
    glfwSetKeyCallback(window, keyCallback);
    glfwSetFramebufferSizeCallback(window, framebufferSizeCallback);
    glfwSetCursorPosCallback(window, cursorPositionCallback);
    glfwSetScrollCallback(window, scrollCallback);
}
