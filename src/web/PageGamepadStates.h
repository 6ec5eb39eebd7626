#pragma once

#include "input/GamepadStates.h"

// The pads the browser's Gamepad API offers, sampled once a pass. Only pads the browser maps to
// its standard layout count, as only pads of a known layout count on the desktop.
class PageGamepadStates : public GamepadStates {
  public:
    bool read(int slot, GLFWgamepadstate& state) override;

  private:
    int sampledSlots_ = 0;
};
