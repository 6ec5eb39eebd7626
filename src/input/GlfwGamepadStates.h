#pragma once

#include "input/GamepadStates.h"

// The pads GLFW sees. Only a joystick GLFW has a gamepad mapping for counts: without one its
// buttons mean nothing known.
class GlfwGamepadStates : public GamepadStates {
  public:
    bool read(int slot, GLFWgamepadstate& state) override;
};
