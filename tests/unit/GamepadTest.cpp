#include "game/GameContext.h"
#include "input/GamepadPolling.h"
#include "input/GamepadTracker.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {

GLFWgamepadstate pad(std::vector<int> buttons, float stickX = 0.0f, float stickY = 0.0f) {
    GLFWgamepadstate state{};
    for (int button : buttons) {
        state.buttons[button] = GLFW_PRESS;
    }
    state.axes[GLFW_GAMEPAD_AXIS_LEFT_X] = stickX;
    state.axes[GLFW_GAMEPAD_AXIS_LEFT_Y] = stickY;
    return state;
}

std::string heldLetters(const HeldKeys& keys) {
    return std::string(keys.w ? "w" : "") + (keys.a ? "a" : "") + (keys.s ? "s" : "") +
           (keys.d ? "d" : "") + (keys.space ? "_" : "") + (keys.t ? "t" : "");
}

std::string commandNames(const PadCommandList& commands) {
    std::string names;
    for (const PadCommand& command : commands) {
        names += command.key == GLFW_KEY_ENTER ? "Enter "
                 : command.key == GLFW_KEY_ESCAPE
                     ? "Escape "
                     : "zoom" + std::to_string(command.zoomSteps) + " ";
    }
    return names;
}

// The pads of one pass, by slot; every other slot is empty.
struct PadsInSlots : GamepadStates {
    std::map<int, GLFWgamepadstate> pads;

    bool read(int slot, GLFWgamepadstate& state) override {
        const auto found = pads.find(slot);
        if (found == pads.end()) {
            return false;
        }
        state = found->second;
        return true;
    }
};

// One pass of the main loop: the pads present in their slots (every other slot is empty), what
// they hold together (w a s d, _ for Space, t) and the commands the pass gives.
struct Pass {
    const char* what;
    std::map<int, GLFWgamepadstate> pads;
    std::string held;
    std::string commands;
};

} // namespace

TEST(Gamepads, HoldActionsAndGiveCommandsOnRelease) {
    constexpr int kUp = GLFW_GAMEPAD_BUTTON_DPAD_UP, kDown = GLFW_GAMEPAD_BUTTON_DPAD_DOWN;
    constexpr int kLeft = GLFW_GAMEPAD_BUTTON_DPAD_LEFT, kRight = GLFW_GAMEPAD_BUTTON_DPAD_RIGHT;
    constexpr int kStart = GLFW_GAMEPAD_BUTTON_START, kBack = GLFW_GAMEPAD_BUTTON_BACK;
    constexpr int kLb = GLFW_GAMEPAD_BUTTON_LEFT_BUMPER, kRb = GLFW_GAMEPAD_BUTTON_RIGHT_BUMPER;
    const std::vector<Pass> passes{
        {"no pad", {}, "", ""},
        {"a resting pad", {{0, pad({})}}, "", ""},
        {"stick left", {{0, pad({}, -0.51f, 0.0f)}}, "a", ""},
        {"stick right", {{0, pad({}, 0.51f, 0.0f)}}, "d", ""},
        {"stick up, y negative", {{0, pad({}, 0.0f, -0.51f)}}, "w", ""},
        {"stick down", {{0, pad({}, 0.0f, 0.51f)}}, "s", ""},
        {"half way is the dead zone", {{0, pad({}, 0.5f, -0.5f)}}, "", ""},
        {"half way, other side", {{0, pad({}, -0.5f, 0.5f)}}, "", ""},
        {"D-pad", {{0, pad({kUp, kLeft})}}, "wa", ""},
        {"D-pad", {{0, pad({kDown, kRight})}}, "sd", ""},
        {"south jumps, west uses the relic",
         {{0, pad({GLFW_GAMEPAD_BUTTON_A, GLFW_GAMEPAD_BUTTON_X})}},
         "_t",
         ""},
        {"north uses the relic too", {{0, pad({GLFW_GAMEPAD_BUTTON_Y})}}, "t", ""},
        {"east does nothing", {{0, pad({GLFW_GAMEPAD_BUTTON_B})}}, "", ""},
        {"stick and D-pad together", {{0, pad({kRight}, -0.9f, 0.0f)}}, "ad", ""},
        {"two pads",
         {{0, pad({GLFW_GAMEPAD_BUTTON_A})}, {GLFW_JOYSTICK_LAST, pad({}, 0.0f, 1.0f)}},
         "s_",
         ""},
        {"commands wait for release", {{0, pad({kStart, kBack, kLb, kRb})}}, "", ""},
        {"released", {{0, pad({})}}, "", "Enter Escape zoom1 zoom-1 "},
        {"once", {{0, pad({})}}, "", ""},
        {"held by a pad", {{2, pad({kStart, kLeft})}}, "a", ""},
        {"that pad gone: released, no command", {}, "", ""},
        {"back without buttons: no command", {{2, pad({})}}, "", ""},
        {"a pad that comes back holding", {{2, pad({kBack})}}, "", ""},
        {"fires on its real release", {{2, pad({})}}, "", "Escape "},
    };
    GamepadTracker tracker;
    PadsInSlots slots;
    for (const Pass& pass : passes) {
        slots.pads = pass.pads;
        pollGamepads(slots, tracker);
        EXPECT_EQ(pass.held, heldLetters(tracker.held())) << pass.what;
        EXPECT_EQ(pass.commands, commandNames(tracker.commands())) << pass.what;
    }

    GameContext context;
    context.game.reversedPhase = true;
    pollHeldKeys(context, heldByEither(HeldKeys{}, heldActionsOf(pad({}, 0.9f, 0.0f))));
    EXPECT_EQ(1, context.player.lane)
        << "a pad's right is the keyboard's D, swapped while reversed";
}
