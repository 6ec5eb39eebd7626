#pragma once

#include "game/Settings.h"

#include <ostream>
#include <string>

// Reads the [window] and [audio] sections of the settings file through INIReader. A file that
// cannot be opened is reported on standard output and every default is used; a bad line or value
// falls back to that key's default silently; values the window cannot take are brought into range.
Settings readSettings(const std::string& path);

// Where a player's own settings go: $XDG_CONFIG_HOME/chronocell/settings.ini, or
// $HOME/.config/chronocell/settings.ini when that is unset, empty or not absolute; empty when
// neither is known. Pass getenv("XDG_CONFIG_HOME") and getenv("HOME").
std::string userSettingsPath(const char* configHome, const char* home);

// The player's own file over the shipped settings, key by key: each key it sets wins, the others
// keep their shipped values. Nothing is ever written there. A missing file says nothing; one that
// cannot be read or holds a line that is not a setting is named in one line on `errors` and left
// out whole.
void overlayUserSettings(Settings& settings, const std::string& path, std::ostream& errors);
