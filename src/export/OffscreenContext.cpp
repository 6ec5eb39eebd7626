#include "export/OffscreenContext.h"

#include "export/GlfwOffscreenContext.h"
#include "export/SurfacelessContext.h"
#include "platform/Display.h"
#include "video/ExportMessage.h"

#include <glad/gl.h>

#include <ostream>
#include <sstream>

std::unique_ptr<OffscreenContext> OffscreenContext::open(std::ostream& errors) {
    std::ostringstream reasons;
    // Where there is a display, the hidden window gets its context from the driver the game's own
    // window plays with, a GPU vendor's among them; Mesa's surfaceless EGL is Mesa's alone and,
    // beside another vendor's driver, would draw in software.
    if (platform::hasDisplay()) {
        if (std::unique_ptr<OffscreenContext> window = GlfwOffscreenContext::open(reasons)) {
            return window;
        }
        reasons << "; ";
    }
    if (std::unique_ptr<OffscreenContext> surfaceless = openSurfacelessContext(reasons)) {
        return surfaceless;
    }
    errors << kCannotExport << "no OpenGL 4.3 core context (" << reasons.str() << "); "
           << kNoOffscreenContextAdvice << std::endl;
    return nullptr;
}

bool OffscreenContext::loadFunctions() {
    const GLADuserptrloadfunc load = [](void* self, const char* name) -> GLADapiproc {
        return static_cast<const OffscreenContext*>(self)->procAddress(name);
    };
    return gladLoadGLUserPtr(load, this) != 0;
}
