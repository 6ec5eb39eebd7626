#pragma once

#include "input/GamepadStates.h"
#include "input/GamepadTracker.h"
#include "input/KeyboardInput.h"

// The player in front of the window: keyboard and mouse, and every gamepad. An action is held
// when either holds it; the pads' released buttons follow the window's events, as they are let
// go after them.
class PlayerInput : public InputSource {
  public:
    PlayerInput(GLFWwindow* window, Application& application, GamepadStates& pads);

    // Samples the keys, then reads the pads.
    HeldKeys sampleHeldKeys() override;
    void collectCommands(std::vector<PassCommand>& commands) override;

  private:
    KeyboardInput keyboard_;
    GamepadStates& padStates_;
    GamepadTracker pads_;
};
