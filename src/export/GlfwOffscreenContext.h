#pragma once

#include "export/OffscreenContext.h"

struct GLFWwindow;

// The context of a GLFW window never shown, on the X display named. GLFW is initialised
// with it and terminated when it goes.
class GlfwOffscreenContext : public OffscreenContext {
  public:
    // Null after saying why, in GLFW's words, on `reasons`.
    static std::unique_ptr<GlfwOffscreenContext> open(std::ostream& reasons);
    ~GlfwOffscreenContext() override;

  protected:
    ProcAddress procAddress(const char* name) const override;

  private:
    explicit GlfwOffscreenContext(GLFWwindow* window) : window_(window) {}

    GLFWwindow* window_;
};
