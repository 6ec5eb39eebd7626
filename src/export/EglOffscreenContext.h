#pragma once

#include "export/OffscreenContext.h"

#include <EGL/egl.h>
#include <string_view>

// A context of Mesa's EGL on its surfaceless platform: no X11, no Wayland, no window and no
// surface, the drawing going to framebuffer objects alone. On a machine without a GPU it is
// llvmpipe, the same renderer a hidden window there gets.
class EglOffscreenContext : public OffscreenContext {
  public:
    // Null after saying which step failed, and the EGL error, on `reasons`.
    static std::unique_ptr<EglOffscreenContext> open(std::ostream& reasons);
    ~EglOffscreenContext() override;

    // Whether EGL's space-separated `extensions` (null when it has none) name `wanted` whole.
    static bool listsExtension(const char* extensions, std::string_view wanted);

  protected:
    ProcAddress procAddress(const char* name) const override;

  private:
    explicit EglOffscreenContext(EGLDisplay display) : display_(display) {}

    // The 4.3 core context, current without a surface; false after saying why on `reasons`.
    bool createCurrentContext(std::ostream& reasons);

    EGLDisplay display_;
    EGLContext context_ = EGL_NO_CONTEXT;
};
