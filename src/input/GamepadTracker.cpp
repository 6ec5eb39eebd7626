#include "input/GamepadTracker.h"

void GamepadTracker::beginPass() {
    held_ = HeldKeys{};
    commands_.count = 0;
}

void GamepadTracker::observe(int pad, const GLFWgamepadstate& state) {
    held_ = heldByEither(held_, heldActionsOf(state));
    addReleasedCommands(previous_[pad], state, commands_);
    previous_[pad] = state;
}

void GamepadTracker::forget(int pad) {
    previous_[pad] = GLFWgamepadstate{};
}
