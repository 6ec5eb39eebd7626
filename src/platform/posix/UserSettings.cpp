#include "platform/UserSettings.h"

#include <cstdlib>

namespace userSettings {

std::string path() {
    return xdgPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

const char* whyNone() {
    return "neither XDG_CONFIG_HOME nor HOME is set";
}

} // namespace userSettings
