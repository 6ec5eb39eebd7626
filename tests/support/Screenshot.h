#pragma once

#include <string>

// Saves the current framebuffer (800 x 600) as a PNG under $CHRONOCELL_SHOTS (or build/shots)
// so a person can look at what a GL test drew. Returns the path written, empty on failure.
std::string saveScreenshot(const std::string& name);
