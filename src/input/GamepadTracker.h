#pragma once

#include "input/GamepadMapping.h"

// Follows every pad slot from pass to pass: what the pads hold together, and the commands of
// the buttons let go since the previous pass. A pad that disappears stops holding anything at
// once and gives no commands, and one that comes back starts from nothing held.
class GamepadTracker {
  public:
    static constexpr int kPadSlots = GLFW_JOYSTICK_LAST + 1;

    // Starts a pass: nothing held, no commands, until the pads are observed.
    void beginPass();
    // The pad in this slot, as read this pass.
    void observe(int pad, const GLFWgamepadstate& state);
    // No pad (or no pad with a known layout) in this slot this pass.
    void forget(int pad);

    const HeldKeys& held() const { return held_; }
    const PadCommandList& commands() const { return commands_; }

  private:
    std::array<GLFWgamepadstate, kPadSlots> previous_{};
    HeldKeys held_;
    PadCommandList commands_;
};
