#include "app/GamepadPolling.h"

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
