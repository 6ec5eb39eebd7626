#pragma once

#include <string>

// Where a player's own settings file is. The rules of each system are plain functions of its
// variables, so that both are checked wherever the tests run.
namespace userSettings {

// $XDG_CONFIG_HOME/chronocell/settings.ini, or $HOME/.config/chronocell/settings.ini when that
// is unset, empty or not absolute; empty when neither is known.
std::string xdgPath(const char* configHome, const char* home);
// %APPDATA%\Chronocell\settings.ini; empty when APPDATA is unset or empty.
std::string appDataPath(const char* appData);

// This system's: its rule applied to its environment, and why it is empty when it is.
std::string path();
const char* whyNone();

} // namespace userSettings
