#include "platform/Display.h"

#include <cstdlib>

namespace {

bool named(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

} // namespace

namespace platform {

bool hasDisplay() {
    return named("DISPLAY") || named("WAYLAND_DISPLAY");
}

} // namespace platform
