#pragma once

#include "app/GamepadStates.h"
#include "app/GamepadTracker.h"

// Reads every pad slot from `pads` into the tracker, once a pass.
void pollGamepads(GamepadStates& pads, GamepadTracker& tracker);
