#pragma once

#include "game/Settings.h"

#include <string>

// Reads the [window] and [audio] sections of the settings file through INIReader. A file that
// cannot be opened is reported on standard output and every default is used; a bad line or value
// falls back to that key's default silently; values the window cannot take are brought into range.
Settings readSettings(const std::string& path);
