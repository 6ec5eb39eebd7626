#pragma once

#include "export/OffscreenContext.h"

#include <iosfwd>
#include <memory>

// A context drawing without any display, where the system has a way to make one (Mesa's EGL on
// Linux); the build takes the source that fits the system. Null after saying why on `reasons`.
std::unique_ptr<OffscreenContext> openSurfacelessContext(std::ostream& reasons);

// What the player can do when neither a window nor a surfaceless context could be had.
extern const char* const kNoOffscreenContextAdvice;
