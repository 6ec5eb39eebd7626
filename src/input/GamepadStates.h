#pragma once

#include <GLFW/glfw3.h>

// Where a pass reads the pads: GLFW's joystick slots in the game, a script in tests, so what the
// loop does with a pad is tested without one plugged in.
class GamepadStates {
  public:
    virtual ~GamepadStates() = default;
    // The pad in `slot` as it is now; false when the slot holds no pad whose layout is known.
    virtual bool read(int slot, GLFWgamepadstate& state) = 0;
};
