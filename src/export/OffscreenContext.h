#pragma once

#include <iosfwd>
#include <memory>

// An OpenGL 4.3 core context current on this thread, for drawing into framebuffers of the
// program's own: a video's drawing run neither shows nor swaps anything, so it does not care what
// carries the context. Destroying it releases the context.
class OffscreenContext {
  public:
    using ProcAddress = void (*)();

    virtual ~OffscreenContext() = default;
    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    // A hidden window where a display is named and it opens, else Mesa's EGL
    // without any display. Null after one line on `errors` saying what is missing.
    static std::unique_ptr<OffscreenContext> open(std::ostream& errors);

    // Loads the OpenGL functions through this context; false when it has none to give.
    bool loadFunctions();

  protected:
    OffscreenContext() = default;

    // The named OpenGL function of this context, or null.
    virtual ProcAddress procAddress(const char* name) const = 0;
};
