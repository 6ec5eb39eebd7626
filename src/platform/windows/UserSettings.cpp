#include "platform/UserSettings.h"

#include <cstdlib>

namespace userSettings {

std::string path() {
    return appDataPath(std::getenv("APPDATA"));
}

const char* whyNone() {
    return "APPDATA is not set";
}

} // namespace userSettings
