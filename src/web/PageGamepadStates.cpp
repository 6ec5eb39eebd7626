#include "web/PageGamepadStates.h"

#include "input/StandardPadLayout.h"

#include <algorithm>
#include <cstring>
#include <emscripten/html5.h>
#include <span>

bool PageGamepadStates::read(int slot, GLFWgamepadstate& state) {
    // The pass reads the slots in order from the first: the browser is sampled once, there.
    if (slot == 0) {
        sampledSlots_ = emscripten_sample_gamepad_data() == EMSCRIPTEN_RESULT_SUCCESS
                            ? emscripten_get_num_gamepads()
                            : 0;
    }
    EmscriptenGamepadEvent pad{};
    if (slot >= sampledSlots_ ||
        emscripten_get_gamepad_status(slot, &pad) != EMSCRIPTEN_RESULT_SUCCESS || !pad.connected ||
        std::strcmp(pad.mapping, "standard") != 0) {
        return false;
    }
    int pressed[64];
    for (int button = 0; button < pad.numButtons && button < 64; ++button) {
        pressed[button] = pad.digitalButton[button];
    }
    const auto axes = static_cast<std::size_t>(std::min(pad.numAxes, 64));
    const auto buttons = static_cast<std::size_t>(std::min(pad.numButtons, 64));
    readStandardPad(std::span<const double>(pad.axis, axes),
                    std::span<const double>(pad.analogButton, buttons),
                    std::span<const int>(pressed, buttons), state);
    return true;
}
