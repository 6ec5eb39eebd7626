#pragma once

#include "game/PlayerControls.h"

#include <GLFW/glfw3.h>
#include <array>
#include <cstddef>

// What a released pad button does: the key command it stands for, or wheel steps (+1 closer).
struct PadCommand {
    int key = GLFW_KEY_UNKNOWN;
    int zoomSteps = 0;
};

// The commands of one pass, in a fixed array so that a pass allocates nothing.
struct PadCommandList {
    static constexpr std::size_t kCommandButtons = 4;
    static constexpr std::size_t kCapacity = kCommandButtons * (GLFW_JOYSTICK_LAST + 1);

    std::array<PadCommand, kCapacity> commands{};
    std::size_t count = 0;

    void add(const PadCommand& command);
    const PadCommand* begin() const { return commands.data(); }
    const PadCommand* end() const { return commands.data() + count; }
};

// A stick must be pushed past half way to count, so a worn stick resting off centre holds
// nothing. GLFW's stick y grows downwards.
inline constexpr float kStickDeadZone = 0.5f;

// The movement actions a pad holds: stick or D-pad for W A S D, south button for Space, west or
// north for T.
HeldKeys heldActionsOf(const GLFWgamepadstate& state);

// An action is held when any source holds it.
HeldKeys heldByEither(const HeldKeys& first, const HeldKeys& second);

// Start, Back and the shoulders act when they are let go, as the keys do: a button down in the
// previous state and up in the current one adds its command.
void addReleasedCommands(const GLFWgamepadstate& previous, const GLFWgamepadstate& current,
                         PadCommandList& commands);
