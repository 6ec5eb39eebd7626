#include "app/Startup.h"

#include "game/Settings.h"
#include "input/WindowCallbacks.h"
#include "scene/DebugOutput.h"
#include "scene/DrawingState.h"

#include <glad/gl.h>

#include <GLFW/glfw3.h>
#include <algorithm>
#include <iostream>
#include <string>

void fitWindowToScreen(Settings& settings, int screenWidth, int screenHeight) {
    if (screenWidth > 0) {
        settings.width = std::min(settings.width, screenWidth);
    }
    if (screenHeight > 0) {
        settings.height = std::min(settings.height, screenHeight);
    }
}

namespace {

// GLFW's own words for its last error, or an empty string.
std::string lastGlfwError() {
    const char* description = nullptr;
    glfwGetError(&description);
    return description != nullptr ? description : "";
}

// Says why on standard error, beside the fixed line on standard output.
void reportNoWindow(const std::string& reason) {
    std::cerr << "chronocell: cannot open the game's window"
              << (reason.empty() ? std::string() : ": " + reason)
              << " (Chronocell needs an X display and OpenGL 4.3 core)" << std::endl;
}

} // namespace

GLFWwindow* createGameWindow(Settings& settings) {
    if (glfwInit() == GLFW_FALSE) {
        const std::string reason = lastGlfwError();
        std::cout << "Failes to create GLFW window" << std::endl;
        reportNoWindow(reason);
        return nullptr;
    }
    // A window far larger than the screen cannot be seen whole and costs a framebuffer of that
    // size on every frame (a 16384-pixel square takes seconds a frame in software rendering).
    if (GLFWmonitor* primary = glfwGetPrimaryMonitor()) {
        if (const GLFWvidmode* mode = glfwGetVideoMode(primary)) {
            fitWindowToScreen(settings, mode->width, mode->height);
        }
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    GLFWmonitor* monitor = settings.fullscreen ? glfwGetPrimaryMonitor() : nullptr;
    GLFWwindow* window =
        glfwCreateWindow(settings.width, settings.height, settings.title.c_str(), monitor, nullptr);
    if (window == nullptr) {
        const std::string reason = lastGlfwError();
        std::cout << "Failes to create GLFW window" << std::endl;
        reportNoWindow(reason);
        glfwTerminate();
        return nullptr;
    }
    glfwMakeContextCurrent(window);
    return window;
}

bool loadOpenGlFunctions() {
    if (gladLoadGL(glfwGetProcAddress) == 0) {
        std::cout << "Failes to initialize GLAD" << std::endl;
        return false;
    }
    return true;
}

void configureOpenGl(GLFWwindow* window, const Settings& settings) {
    glViewport(0, 0, settings.width, settings.height);
    registerWindowCallbacks(window);
    configureDrawingState();
}

void configureDrawingState() {
    setUpDrawingState();
    glEnable(GL_DEBUG_OUTPUT);
    glDebugMessageCallback(debugMessageCallback, nullptr);
}
