#include "input/GamepadPolling.h"

void pollGamepads(GamepadStates& pads, GamepadTracker& tracker) {
    tracker.beginPass();
    for (int slot = 0; slot < GamepadTracker::kPadSlots; ++slot) {
        GLFWgamepadstate state;
        if (pads.read(slot, state)) {
            tracker.observe(slot, state);
        } else {
            tracker.forget(slot);
        }
    }
}
