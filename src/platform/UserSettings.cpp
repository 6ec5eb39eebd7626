#include "platform/UserSettings.h"

namespace userSettings {

std::string xdgPath(const char* configHome, const char* home) {
    // XDG counts only absolute paths there; anything else means unset.
    if (configHome != nullptr && configHome[0] == '/') {
        return std::string(configHome) + "/chronocell/settings.ini";
    }
    if (home != nullptr && home[0] != '\0') {
        return std::string(home) + "/.config/chronocell/settings.ini";
    }
    return std::string();
}

std::string appDataPath(const char* appData) {
    if (appData == nullptr || appData[0] == '\0') {
        return std::string();
    }
    return std::string(appData) + "\\Chronocell\\settings.ini";
}

} // namespace userSettings
