#include "platform/Display.h"

namespace platform {

bool hasDisplay() {
    return true;
}

} // namespace platform
