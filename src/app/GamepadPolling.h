#pragma once

#include "app/GamepadTracker.h"

// Reads every joystick slot through GLFW into the tracker, once a pass.
void pollGamepads(GamepadTracker& tracker);
