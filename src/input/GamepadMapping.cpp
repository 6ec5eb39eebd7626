#include "input/GamepadMapping.h"

namespace {

struct ButtonCommand {
    int button;
    PadCommand command;
};

constexpr std::array<ButtonCommand, PadCommandList::kCommandButtons> kButtonCommands{{
    {GLFW_GAMEPAD_BUTTON_START, {GLFW_KEY_ENTER, 0}},
    {GLFW_GAMEPAD_BUTTON_BACK, {GLFW_KEY_ESCAPE, 0}},
    {GLFW_GAMEPAD_BUTTON_LEFT_BUMPER, {GLFW_KEY_UNKNOWN, 1}},
    {GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER, {GLFW_KEY_UNKNOWN, -1}},
}};

bool isDown(const GLFWgamepadstate& state, int button) {
    return state.buttons[button] == GLFW_PRESS;
}

} // namespace

void PadCommandList::add(const PadCommand& command) {
    if (count < commands.size()) {
        commands[count++] = command;
    }
}

HeldKeys heldActionsOf(const GLFWgamepadstate& state) {
    const float x = state.axes[GLFW_GAMEPAD_AXIS_LEFT_X];
    const float y = state.axes[GLFW_GAMEPAD_AXIS_LEFT_Y];
    HeldKeys keys;
    keys.w = y < -kStickDeadZone || isDown(state, GLFW_GAMEPAD_BUTTON_DPAD_UP);
    keys.s = y > kStickDeadZone || isDown(state, GLFW_GAMEPAD_BUTTON_DPAD_DOWN);
    keys.a = x < -kStickDeadZone || isDown(state, GLFW_GAMEPAD_BUTTON_DPAD_LEFT);
    keys.d = x > kStickDeadZone || isDown(state, GLFW_GAMEPAD_BUTTON_DPAD_RIGHT);
    keys.space = isDown(state, GLFW_GAMEPAD_BUTTON_A);
    keys.t = isDown(state, GLFW_GAMEPAD_BUTTON_X) || isDown(state, GLFW_GAMEPAD_BUTTON_Y);
    return keys;
}

HeldKeys heldByEither(const HeldKeys& first, const HeldKeys& second) {
    HeldKeys keys;
    keys.w = first.w || second.w;
    keys.a = first.a || second.a;
    keys.s = first.s || second.s;
    keys.d = first.d || second.d;
    keys.space = first.space || second.space;
    keys.t = first.t || second.t;
    return keys;
}

void addReleasedCommands(const GLFWgamepadstate& previous, const GLFWgamepadstate& current,
                         PadCommandList& commands) {
    for (const ButtonCommand& entry : kButtonCommands) {
        if (isDown(previous, entry.button) && !isDown(current, entry.button)) {
            commands.add(entry.command);
        }
    }
}
