// A browser's standard pad layout read into GLFW's gamepad state. Faults caught: two buttons of
// the layout swapped (the D-pad's down and left sit in another order than GLFW's), a trigger read
// as a button or left on 0..1 instead of GLFW's -1..1, a stick axis crossed with another, and a
// pad reporting fewer buttons or axes than the layout read past its end or left holding a stale
// value.
#include "input/StandardPadLayout.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// GLFW's axes in its order: the left stick's x and y, the right stick's, the triggers.
using Axes = std::array<float, GLFW_GAMEPAD_AXIS_LAST + 1>;

void expectPad(const std::string& name, const std::vector<double>& axes,
               const std::vector<double>& values, const std::vector<int>& pressed, int glfwButton,
               const Axes& glfwAxes) {
    SCOPED_TRACE(name);
    // What the pad held before, which no reading may leave behind.
    GLFWgamepadstate state;
    std::fill(std::begin(state.buttons), std::end(state.buttons), GLFW_PRESS);
    std::fill(std::begin(state.axes), std::end(state.axes), 0.33f);
    readStandardPad(axes, values, pressed, state);
    for (int button = 0; button <= GLFW_GAMEPAD_BUTTON_LAST; ++button) {
        EXPECT_EQ(state.buttons[button], button == glfwButton ? GLFW_PRESS : GLFW_RELEASE)
            << "GLFW button " << button;
    }
    for (std::size_t axis = 0; axis < glfwAxes.size(); ++axis) {
        EXPECT_FLOAT_EQ(state.axes[axis], glfwAxes[axis]) << "GLFW axis " << axis;
    }
}

} // namespace

TEST(StandardPadLayoutTest, EachButtonAndAxisLandsOnGlfwsOwn) {
    const std::pair<int, int> buttons[] = {
        {0, GLFW_GAMEPAD_BUTTON_A},          {2, GLFW_GAMEPAD_BUTTON_X},
        {3, GLFW_GAMEPAD_BUTTON_Y},          {9, GLFW_GAMEPAD_BUTTON_START},
        {12, GLFW_GAMEPAD_BUTTON_DPAD_UP},   {13, GLFW_GAMEPAD_BUTTON_DPAD_DOWN},
        {14, GLFW_GAMEPAD_BUTTON_DPAD_LEFT}, {15, GLFW_GAMEPAD_BUTTON_DPAD_RIGHT},
        {16, GLFW_GAMEPAD_BUTTON_GUIDE}};
    for (const auto& [layout, glfw] : buttons) {
        std::vector<int> pressed(17, 0);
        pressed[layout] = 1;
        expectPad("layout button " + std::to_string(layout), std::vector<double>(4, 0.0),
                  std::vector<double>(17, 0.0), pressed, glfw, {0, 0, 0, 0, -1, -1});
    }
    expectPad("a pressed trigger is an axis, not a button", {}, {0, 0, 0, 0, 0, 0, 1.0, 0.5},
              {0, 0, 0, 0, 0, 0, 1}, -1, {0, 0, 0, 0, 1, 0});
    expectPad("the sticks, each on its own axis", {-0.25, 0.5, 0.75, -1.0}, {}, {}, -1,
              {-0.25f, 0.5f, 0.75f, -1.0f, -1, -1});
    expectPad("a pad with two axes and four buttons", {0.5, -0.5}, {0, 0, 0, 0}, {0, 0, 0, 1},
              GLFW_GAMEPAD_BUTTON_Y, {0.5f, -0.5f, 0, 0, -1, -1});
}
