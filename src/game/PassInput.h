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
    // More key releases and wheel turns than this between two passes are no player's doing (a
    // runaway macro); the rest of them are dropped, so a recording can always be read back.
    static constexpr std::size_t kMostCommands = 1u << 16;
    // A turn of 10 already moves the camera from one end of its range to the other.
    static constexpr double kMostZoomSteps = 1000.0;
    // GLFW's key codes run from -1 (unknown) to a few hundred; a key beyond does nothing.
    static constexpr int kHighestKeyCode = 1023;

    HeldKeys held;
    std::vector<PassCommand> commands;

    PassInput() { commands.reserve(kReservedCommands); }

    // Keeps the commands within what a recording holds: at most kMostCommands, wheel turns
    // finite and within kMostZoomSteps either way, key codes from -1 to kHighestKeyCode. What
    // this drops or shortens changes nothing on the screen.
    void keepCommandsInBounds();
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
