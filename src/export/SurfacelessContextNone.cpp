#include "export/SurfacelessContext.h"

#include <ostream>

// Windows always has its desktop to open a hidden window on, and no surfaceless OpenGL.
std::unique_ptr<OffscreenContext> openSurfacelessContext(std::ostream& reasons) {
    reasons << "no surfaceless OpenGL on this system";
    return nullptr;
}

const char* const kNoOffscreenContextAdvice = "a video needs a graphics driver with OpenGL 4.3";
