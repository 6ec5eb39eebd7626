#include "input/KeyboardInput.h"

#include "input/Application.h"

#include <GLFW/glfw3.h>

KeyboardInput::KeyboardInput(GLFWwindow* window, Application& application)
    : window_(window), application_(application) {}

HeldKeys KeyboardInput::sampleHeldKeys() {
    const auto isHeld = [this](int key) { return glfwGetKey(window_, key) == GLFW_PRESS; };
    HeldKeys keys;
    keys.w = isHeld(GLFW_KEY_W);
    keys.a = isHeld(GLFW_KEY_A);
    keys.s = isHeld(GLFW_KEY_S);
    keys.d = isHeld(GLFW_KEY_D);
    keys.space = isHeld(GLFW_KEY_SPACE);
    keys.t = isHeld(GLFW_KEY_T);
    return keys;
}

void KeyboardInput::collectCommands(std::vector<PassCommand>& commands) {
    glfwPollEvents();
    std::vector<PassCommand>& gathered = application_.windowCommands;
    commands.insert(commands.end(), gathered.begin(), gathered.end());
    gathered.clear();
}
