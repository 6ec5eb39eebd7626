#include "export/GlfwOffscreenContext.h"

#include <GLFW/glfw3.h>
#include <ostream>

namespace {

// The window only carries the context: what is drawn goes to framebuffers of their own sizes.
constexpr int kContextWindowSide = 64;

void sayGlfwError(std::ostream& reasons) {
    const char* description = nullptr;
    glfwGetError(&description);
    reasons << (description != nullptr ? description : "GLFW gave no reason");
}

} // namespace

std::unique_ptr<GlfwOffscreenContext> GlfwOffscreenContext::open(std::ostream& reasons) {
    if (glfwInit() == GLFW_FALSE) {
        sayGlfwError(reasons);
        return nullptr;
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window =
        glfwCreateWindow(kContextWindowSide, kContextWindowSide, "Chronocell", nullptr, nullptr);
    if (window == nullptr) {
        sayGlfwError(reasons);
        glfwTerminate();
        return nullptr;
    }
    glfwMakeContextCurrent(window);
    return std::unique_ptr<GlfwOffscreenContext>(new GlfwOffscreenContext(window));
}

GlfwOffscreenContext::~GlfwOffscreenContext() {
    glfwMakeContextCurrent(nullptr);
    glfwDestroyWindow(window_);
    glfwTerminate();
}

OffscreenContext::ProcAddress GlfwOffscreenContext::procAddress(const char* name) const {
    return glfwGetProcAddress(name);
}
