#include "export/EglOffscreenContext.h"

#include <EGL/eglext.h>
#include <algorithm>
#include <array>
#include <ostream>

namespace {

struct NamedError {
    EGLint code;
    const char* name;
};

constexpr std::array kEglErrors = {
    NamedError{EGL_NOT_INITIALIZED, "EGL_NOT_INITIALIZED"},
    NamedError{EGL_BAD_ACCESS, "EGL_BAD_ACCESS"},
    NamedError{EGL_BAD_ALLOC, "EGL_BAD_ALLOC"},
    NamedError{EGL_BAD_ATTRIBUTE, "EGL_BAD_ATTRIBUTE"},
    NamedError{EGL_BAD_CONFIG, "EGL_BAD_CONFIG"},
    NamedError{EGL_BAD_CONTEXT, "EGL_BAD_CONTEXT"},
    NamedError{EGL_BAD_DISPLAY, "EGL_BAD_DISPLAY"},
    NamedError{EGL_BAD_MATCH, "EGL_BAD_MATCH"},
    NamedError{EGL_BAD_PARAMETER, "EGL_BAD_PARAMETER"},
};

// "EGL: <what failed>: <EGL's error>".
void sayFailed(std::ostream& reasons, const char* what) {
    const EGLint code = eglGetError();
    reasons << "EGL: " << what << ": ";
    for (const NamedError& error : kEglErrors) {
        if (error.code == code) {
            reasons << error.name;
            return;
        }
    }
    reasons << "error 0x" << std::hex << code << std::dec;
}

} // namespace

bool EglOffscreenContext::listsExtension(const char* extensions, std::string_view wanted) {
    std::string_view rest = extensions != nullptr ? extensions : "";
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find(' '), rest.size());
        if (rest.substr(0, end) == wanted) {
            return true;
        }
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return false;
}

std::unique_ptr<EglOffscreenContext> EglOffscreenContext::open(std::ostream& reasons) {
    // Without a vendor library (libegl-mesa0), EGL names no client extension at all.
    if (!listsExtension(eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS),
                        "EGL_MESA_platform_surfaceless")) {
        reasons << "EGL: no Mesa surfaceless platform";
        return nullptr;
    }
    EGLDisplay display =
        eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) {
        sayFailed(reasons, "no surfaceless display");
        return nullptr;
    }
    if (eglInitialize(display, nullptr, nullptr) == EGL_FALSE) {
        sayFailed(reasons, "cannot initialise the surfaceless display");
        return nullptr;
    }
    std::unique_ptr<EglOffscreenContext> context(new EglOffscreenContext(display));
    if (!context->createCurrentContext(reasons)) {
        return nullptr;
    }
    return context;
}

bool EglOffscreenContext::createCurrentContext(std::ostream& reasons) {
    const char* extensions = eglQueryString(display_, EGL_EXTENSIONS);
    // No surface to draw on, and so no configuration to match one.
    if (!listsExtension(extensions, "EGL_KHR_surfaceless_context") ||
        !listsExtension(extensions, "EGL_KHR_no_config_context")) {
        reasons << "EGL: the driver cannot make a context current without a surface";
        return false;
    }
    if (eglBindAPI(EGL_OPENGL_API) == EGL_FALSE) {
        sayFailed(reasons, "no desktop OpenGL");
        return false;
    }
    const std::array<EGLint, 7> attributes = {EGL_CONTEXT_MAJOR_VERSION,
                                              4,
                                              EGL_CONTEXT_MINOR_VERSION,
                                              3,
                                              EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                              EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                              EGL_NONE};
    context_ = eglCreateContext(display_, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes.data());
    if (context_ == EGL_NO_CONTEXT) {
        sayFailed(reasons, "the driver has no OpenGL 4.3 core context");
        return false;
    }
    if (eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_) == EGL_FALSE) {
        sayFailed(reasons, "cannot make the context current");
        return false;
    }
    return true;
}

EglOffscreenContext::~EglOffscreenContext() {
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context_ != EGL_NO_CONTEXT) {
        eglDestroyContext(display_, context_);
    }
    eglTerminate(display_);
    eglReleaseThread();
}

OffscreenContext::ProcAddress EglOffscreenContext::procAddress(const char* name) const {
    return eglGetProcAddress(name);
}
