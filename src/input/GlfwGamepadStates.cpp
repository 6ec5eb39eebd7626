#include "input/GlfwGamepadStates.h"

bool GlfwGamepadStates::read(int slot, GLFWgamepadstate& state) {
    return glfwJoystickIsGamepad(slot) == GLFW_TRUE &&
           glfwGetGamepadState(slot, &state) == GLFW_TRUE;
}
