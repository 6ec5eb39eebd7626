#include "app/GamepadPolling.h"

#include "app/WindowCallbacks.h"

void pollGamepads(GamepadTracker& tracker) {
    tracker.beginPass();
    for (int pad = 0; pad < GamepadTracker::kPadSlots; ++pad) {
        GLFWgamepadstate state;
        if (glfwJoystickIsGamepad(pad) == GLFW_TRUE &&
            glfwGetGamepadState(pad, &state) == GLFW_TRUE) {
            tracker.observe(pad, state);
        } else {
            tracker.forget(pad);
        }
    }
}

void runGamepadCommands(GLFWwindow* window, Application& application,
                        const PadCommandList& commands) {
    for (const PadCommand& command : commands) {
        if (command.key != GLFW_KEY_UNKNOWN) {
            runKeyCommand(window, application, command.key);
        } else {
            zoomCamera(application, command.zoomSteps);
        }
    }
}
