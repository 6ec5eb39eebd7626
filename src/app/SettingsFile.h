#pragma once

#include "game/Settings.h"

#include <string>

// Reads the [window] and [audio] sections of the settings file through INIReader. A file that
// cannot be opened is reported on standard output and every default is used; a bad line or value
// falls back to that key's default silently; values the window cannot take are brought into range.
Settings readSettings(const std::string& path);

// The refresh-rate keys step by 10 and stay within [0, 1000] Hz, so no press can overflow.
int stepRefreshRate(int refreshRate, int step);

// The brightness keys step by 0.1 and stay within [0, 1], landing exactly on the ends.
float stepBrightness(float brightness, float step);
