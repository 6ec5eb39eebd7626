#pragma once

#include "game/PlayerControls.h"

#include <vector>

// One command of a pass: a released key (its GLFW key code) or a turn of the wheel.
struct PassCommand {
    enum class Kind { Key, Zoom };

    Kind kind = Kind::Key;
    int key = 0;
    double steps = 0.0;

    static PassCommand keyReleased(int key) { return {Kind::Key, key, 0.0}; }
    static PassCommand zoom(double steps) { return {Kind::Zoom, 0, steps}; }
    bool operator==(const PassCommand&) const = default;
};

// What one pass of the main loop takes from its input: the held movement keys, sampled before
// any event of the pass, and the commands of the pass in the order they happened.
struct PassInput {
    static constexpr std::size_t kReservedCommands = 64;

    HeldKeys held;
    std::vector<PassCommand> commands;

    PassInput() { commands.reserve(kReservedCommands); }
};

// Where a pass's input comes from: the keyboard, a recording being replayed, a scripted player.
// The rules never learn which source acted.
class InputSource {
  public:
    virtual ~InputSource() = default;
    // The held actions at the start of a pass, before the pass's events are handled.
    virtual HeldKeys sampleHeldKeys() = 0;
    // Appends the commands of the pass, in order, to `commands`.
    virtual void collectCommands(std::vector<PassCommand>& commands) = 0;
};
