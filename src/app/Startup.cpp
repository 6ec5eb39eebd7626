#include "app/Startup.h"

#include "app/DebugOutput.h"
#include "app/WindowCallbacks.h"
#include "game/Settings.h"

#include <glad/gl.h>

#include <GLFW/glfw3.h>
#include <algorithm>
#include <iostream>
#include <stb/stb_image.h>

void fitWindowToScreen(Settings& settings, int screenWidth, int screenHeight) {
    if (screenWidth > 0) {
        settings.width = std::min(settings.width, screenWidth);
    }
    if (screenHeight > 0) {
        settings.height = std::min(settings.height, screenHeight);
    }
}

GLFWwindow* createGameWindow(Settings& settings) {
    glfwInit();
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
        std::cout << "Failes to create GLFW window" << std::endl;
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
    stbi_set_flip_vertically_on_load(true);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEBUG_OUTPUT);
    glDebugMessageCallback(debugMessageCallback, nullptr);
}
