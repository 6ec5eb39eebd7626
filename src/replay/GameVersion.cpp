#include "replay/GameVersion.h"

const char* gameVersion() {
    return CHRONOCELL_VERSION;
}
