#pragma once

#include <GLFW/glfw3.h>
#include <span>

// A pad as a browser reports it in the W3C "standard" layout, read into GLFW's gamepad state, so
// the game's pad rules serve pages too. The standard layout numbers its buttons south, east,
// west, north, the bumpers, the triggers (as buttons with a value from 0 to 1), back, start, the
// stick presses, the D-pad's up, down, left and right, and the guide button; its axes are the
// left then the right stick, y growing downwards as GLFW's does.
//
// A pad with fewer axes or buttons than the layout has is taken as far as it goes; the rest
// stays released and centred, triggers at rest (-1).
void readStandardPad(std::span<const double> axes, std::span<const double> buttonValues,
                     std::span<const int> buttonsPressed, GLFWgamepadstate& state);
