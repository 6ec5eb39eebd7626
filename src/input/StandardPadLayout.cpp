#include "input/StandardPadLayout.h"

#include <array>

namespace {

// GLFW's button for each button of the standard layout, in the layout's order; the triggers
// (6 and 7) are axes in GLFW and have no button.
constexpr int kNoButton = -1;
constexpr std::array<int, 17> kGlfwButtonOf = {GLFW_GAMEPAD_BUTTON_A,
                                               GLFW_GAMEPAD_BUTTON_B,
                                               GLFW_GAMEPAD_BUTTON_X,
                                               GLFW_GAMEPAD_BUTTON_Y,
                                               GLFW_GAMEPAD_BUTTON_LEFT_BUMPER,
                                               GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER,
                                               kNoButton,
                                               kNoButton,
                                               GLFW_GAMEPAD_BUTTON_BACK,
                                               GLFW_GAMEPAD_BUTTON_START,
                                               GLFW_GAMEPAD_BUTTON_LEFT_THUMB,
                                               GLFW_GAMEPAD_BUTTON_RIGHT_THUMB,
                                               GLFW_GAMEPAD_BUTTON_DPAD_UP,
                                               GLFW_GAMEPAD_BUTTON_DPAD_DOWN,
                                               GLFW_GAMEPAD_BUTTON_DPAD_LEFT,
                                               GLFW_GAMEPAD_BUTTON_DPAD_RIGHT,
                                               GLFW_GAMEPAD_BUTTON_GUIDE};
constexpr std::size_t kLeftTrigger = 6;
constexpr std::size_t kRightTrigger = 7;
constexpr std::array<int, 4> kGlfwAxisOf = {GLFW_GAMEPAD_AXIS_LEFT_X, GLFW_GAMEPAD_AXIS_LEFT_Y,
                                            GLFW_GAMEPAD_AXIS_RIGHT_X, GLFW_GAMEPAD_AXIS_RIGHT_Y};

// A trigger's value from 0 (at rest) to 1, as GLFW's axis from -1 to 1.
float triggerAxis(std::span<const double> buttonValues, std::size_t button) {
    const double value = button < buttonValues.size() ? buttonValues[button] : 0.0;
    return static_cast<float>(value * 2.0 - 1.0);
}

} // namespace

void readStandardPad(std::span<const double> axes, std::span<const double> buttonValues,
                     std::span<const int> buttonsPressed, GLFWgamepadstate& state) {
    state = GLFWgamepadstate{};
    for (std::size_t button = 0; button < kGlfwButtonOf.size() && button < buttonsPressed.size();
         ++button) {
        if (kGlfwButtonOf[button] != kNoButton) {
            state.buttons[kGlfwButtonOf[button]] =
                buttonsPressed[button] != 0 ? GLFW_PRESS : GLFW_RELEASE;
        }
    }
    for (std::size_t axis = 0; axis < kGlfwAxisOf.size(); ++axis) {
        state.axes[kGlfwAxisOf[axis]] = axis < axes.size() ? static_cast<float>(axes[axis]) : 0.0f;
    }
    state.axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER] = triggerAxis(buttonValues, kLeftTrigger);
    state.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER] = triggerAxis(buttonValues, kRightTrigger);
}
