#include "input/WindowEffects.h"

#include "game/GameContext.h"
#include "input/Application.h"
#include "sound/GameSounds.h"

#include <GLFW/glfw3.h>

void WindowEffects::fullscreenChanged() {
    if (window_ == nullptr) {
        return;
    }
    const Settings& settings = application_.context.settings;
    GLFWmonitor* monitor = settings.fullscreen ? glfwGetPrimaryMonitor() : nullptr;
    glfwSetWindowMonitor(window_, monitor, 0, 0, settings.width, settings.height, GLFW_DONT_CARE);
}

void WindowEffects::refreshRateChanged(int refreshRate) {
    if (window_ != nullptr) {
        glfwWindowHint(GLFW_REFRESH_RATE, refreshRate);
    }
}

void WindowEffects::quitRequested() {
    if (window_ != nullptr) {
        glfwSetWindowShouldClose(window_, GLFW_TRUE);
    }
}

void WindowEffects::playLeft() {
    if (application_.sounds != nullptr) {
        application_.sounds->leavePlay();
    }
}

void WindowEffects::muteToggled() {
    if (application_.sounds != nullptr) {
        application_.sounds->toggleMute();
    }
}
