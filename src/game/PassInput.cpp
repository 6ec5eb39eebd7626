#include "game/PassInput.h"

#include <algorithm>
#include <cmath>

namespace {

bool hasNoEffect(const PassCommand& command) {
    if (command.kind == PassCommand::Kind::Zoom) {
        return !std::isfinite(command.steps);
    }
    return command.key < -1 || command.key > PassInput::kHighestKeyCode;
}

} // namespace

void PassInput::keepCommandsInBounds() {
    std::erase_if(commands, hasNoEffect);
    if (commands.size() > kMostCommands) {
        commands.resize(kMostCommands);
    }
    for (PassCommand& command : commands) {
        command.steps = std::clamp(command.steps, -kMostZoomSteps, kMostZoomSteps);
    }
}
