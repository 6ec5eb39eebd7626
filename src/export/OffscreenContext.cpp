#include "export/OffscreenContext.h"

#include "export/EglOffscreenContext.h"
#include "export/GlfwOffscreenContext.h"
#include "video/ExportMessage.h"

#include <glad/gl.h>

#include <cstdlib>
#include <ostream>
#include <sstream>

namespace {

bool named(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

bool displayNamed() {
    return named("DISPLAY") || named("WAYLAND_DISPLAY");
}

} // namespace

std::unique_ptr<OffscreenContext> OffscreenContext::open(std::ostream& errors) {
    std::ostringstream reasons;
    // Where there is a display, the hidden window gets its context from the driver the game's own
    // window plays with, a GPU vendor's among them; Mesa's surfaceless EGL is Mesa's alone and,
    // beside another vendor's driver, would draw in software.
    if (displayNamed()) {
        if (std::unique_ptr<OffscreenContext> window = GlfwOffscreenContext::open(reasons)) {
            return window;
        }
        reasons << "; ";
    }
    if (std::unique_ptr<OffscreenContext> surfaceless = EglOffscreenContext::open(reasons)) {
        return surfaceless;
    }
    errors << kCannotExport << "no OpenGL 4.3 core context (" << reasons.str()
           << "); a video needs an X display, or Mesa's EGL (Debian's libegl1 and libegl-mesa0) "
              "to draw without one"
           << std::endl;
    return nullptr;
}

bool OffscreenContext::loadFunctions() {
    const GLADuserptrloadfunc load = [](void* self, const char* name) -> GLADapiproc {
        return static_cast<const OffscreenContext*>(self)->procAddress(name);
    };
    return gladLoadGLUserPtr(load, this) != 0;
}
