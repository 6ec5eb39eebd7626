#pragma once

#include "input/GamepadStates.h"
#include "input/GamepadTracker.h"

// Reads every pad slot from `pads` into the tracker, once a pass.
void pollGamepads(GamepadStates& pads, GamepadTracker& tracker);
