#pragma once

#include "game/Settings.h"

#include <ostream>
#include <string>

// Reads the [window] and [audio] sections of the settings file by inih's rules. A file that cannot
// be read is reported on standard output and every default is used. Each mistake in it (a line
// that is not a setting, an unknown section or key, a key set twice, a value that is refused or
// brought into range) is named on `errors` with its line, and the default or nearest value used.
Settings readSettings(const std::string& path, std::ostream& errors);
// The same, naming the mistakes on standard error.
Settings readSettings(const std::string& path);

// The player's own file over the shipped settings, key by key: each key it sets wins, the others
// keep their shipped values. Nothing is ever written there. A missing file says nothing; one that
// cannot be read (with the system's reason) or holds a line that is not a setting is named in one
// line on `errors` and left out whole. Otherwise its mistakes are named as readSettings names
// them, and the shipped value stands for each value refused.
void overlayUserSettings(Settings& settings, const std::string& path, std::ostream& errors);
