#pragma once

#include "app/GamepadTracker.h"

struct Application;
struct GLFWwindow;

// Reads every joystick slot through GLFW into the tracker, once a pass.
void pollGamepads(GamepadTracker& tracker);

// Runs the pads' commands as the keyboard's and the wheel's would run.
void runGamepadCommands(GLFWwindow* window, Application& application,
                        const PadCommandList& commands);
