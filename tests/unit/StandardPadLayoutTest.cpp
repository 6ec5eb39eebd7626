// A browser's standard pad layout read into GLFW's gamepad state. Faults caught: two buttons of
// the layout swapped (the D-pad's down and left sit in another order than GLFW's), a trigger read
// as a button or left on 0..1 instead of GLFW's -1..1, a stick axis crossed with another, and a
// pad reporting fewer buttons or axes than the layout read past its end or left holding a stale
// value.
#include "input/StandardPadLayout.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct PadCase {
    const char* name;
    std::vector<double> axes;
    std::vector<double> values;
    std::vector<int> pressed;
    std::vector<int> glfwButtonsPressed;
    float leftX, leftY, rightX, rightY, leftTrigger, rightTrigger;
};

std::vector<int> only(std::size_t count, std::size_t index) {
    std::vector<int> pressed(count, 0);
    pressed[index] = 1;
    return pressed;
}

TEST(StandardPadLayoutTest, EachButtonAndAxisLandsOnGlfwsOwn) {
    const std::vector<double> centred(4, 0.0);
    const std::vector<double> rest(17, 0.0);
    const PadCase cases[] = {
        {"south", centred, rest, only(17, 0), {GLFW_GAMEPAD_BUTTON_A}, 0, 0, 0, 0, -1, -1},
        {"west", centred, rest, only(17, 2), {GLFW_GAMEPAD_BUTTON_X}, 0, 0, 0, 0, -1, -1},
        {"north", centred, rest, only(17, 3), {GLFW_GAMEPAD_BUTTON_Y}, 0, 0, 0, 0, -1, -1},
        {"start", centred, rest, only(17, 9), {GLFW_GAMEPAD_BUTTON_START}, 0, 0, 0, 0, -1, -1},
        {"up", centred, rest, only(17, 12), {GLFW_GAMEPAD_BUTTON_DPAD_UP}, 0, 0, 0, 0, -1, -1},
        {"down", centred, rest, only(17, 13), {GLFW_GAMEPAD_BUTTON_DPAD_DOWN}, 0, 0, 0, 0, -1, -1},
        {"left", centred, rest, only(17, 14), {GLFW_GAMEPAD_BUTTON_DPAD_LEFT}, 0, 0, 0, 0, -1, -1},
        {"right",
         centred,
         rest,
         only(17, 15),
         {GLFW_GAMEPAD_BUTTON_DPAD_RIGHT},
         0,
         0,
         0,
         0,
         -1,
         -1},
        {"guide", centred, rest, only(17, 16), {GLFW_GAMEPAD_BUTTON_GUIDE}, 0, 0, 0, 0, -1, -1},
        {"a pressed trigger is an axis, not a button",
         centred,
         {0, 0, 0, 0, 0, 0, 1.0, 0.5, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         only(17, 6),
         {},
         0,
         0,
         0,
         0,
         1,
         0},
        {"the sticks, each on its own axis",
         {-0.25, 0.5, 0.75, -1.0},
         rest,
         std::vector<int>(17, 0),
         {},
         -0.25f,
         0.5f,
         0.75f,
         -1.0f,
         -1,
         -1},
        {"a pad with two axes and four buttons",
         {0.5, -0.5},
         {0, 0, 0, 0},
         {0, 0, 0, 1},
         {GLFW_GAMEPAD_BUTTON_Y},
         0.5f,
         -0.5f,
         0,
         0,
         -1,
         -1},
        {"a pad with nothing", {}, {}, {}, {}, 0, 0, 0, 0, -1, -1},
    };
    for (const PadCase& pad : cases) {
        SCOPED_TRACE(pad.name);
        GLFWgamepadstate state;
        std::fill(std::begin(state.buttons), std::end(state.buttons), GLFW_PRESS);
        std::fill(std::begin(state.axes), std::end(state.axes), 0.33f);
        readStandardPad(pad.axes, pad.values, pad.pressed, state);
        for (int button = 0; button <= GLFW_GAMEPAD_BUTTON_LAST; ++button) {
            const bool expected =
                std::find(pad.glfwButtonsPressed.begin(), pad.glfwButtonsPressed.end(), button) !=
                pad.glfwButtonsPressed.end();
            EXPECT_EQ(expected ? GLFW_PRESS : GLFW_RELEASE, state.buttons[button]) << button;
        }
        EXPECT_FLOAT_EQ(pad.leftX, state.axes[GLFW_GAMEPAD_AXIS_LEFT_X]);
        EXPECT_FLOAT_EQ(pad.leftY, state.axes[GLFW_GAMEPAD_AXIS_LEFT_Y]);
        EXPECT_FLOAT_EQ(pad.rightX, state.axes[GLFW_GAMEPAD_AXIS_RIGHT_X]);
        EXPECT_FLOAT_EQ(pad.rightY, state.axes[GLFW_GAMEPAD_AXIS_RIGHT_Y]);
        EXPECT_FLOAT_EQ(pad.leftTrigger, state.axes[GLFW_GAMEPAD_AXIS_LEFT_TRIGGER]);
        EXPECT_FLOAT_EQ(pad.rightTrigger, state.axes[GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER]);
    }
}

} // namespace
