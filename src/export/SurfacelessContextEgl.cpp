#include "export/EglOffscreenContext.h"
#include "export/SurfacelessContext.h"

std::unique_ptr<OffscreenContext> openSurfacelessContext(std::ostream& reasons) {
    return EglOffscreenContext::open(reasons);
}

const char* const kNoOffscreenContextAdvice =
    "a video needs an X display, or Mesa's EGL (Debian's libegl1 and libegl-mesa0) to draw "
    "without one";
