#include "platform/UserSettings.h"

namespace userSettings {

// The page keeps a player's dropped settings file in the browser's storage (IndexedDB), which
// the page mounts here before the game starts.
std::string path() {
    return "/settings/settings.ini";
}

const char* whyNone() {
    return "the browser keeps no storage for this page";
}

} // namespace userSettings
