#include "input/PlayerInput.h"

#include "input/GamepadPolling.h"

PlayerInput::PlayerInput(GLFWwindow* window, Application& application, GamepadStates& pads)
    : keyboard_(window, application), padStates_(pads) {}

HeldKeys PlayerInput::sampleHeldKeys() {
    const HeldKeys keys = keyboard_.sampleHeldKeys();
    pollGamepads(padStates_, pads_);
    return heldByEither(keys, pads_.held());
}

void PlayerInput::collectCommands(std::vector<PassCommand>& commands) {
    keyboard_.collectCommands(commands);
    for (const PadCommand& command : pads_.commands()) {
        commands.push_back(command.key != GLFW_KEY_UNKNOWN ? PassCommand::keyReleased(command.key)
                                                           : PassCommand::zoom(command.zoomSteps));
    }
}
