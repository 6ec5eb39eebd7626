// Entry point of the GL test program: one real 800 x 600 window with an OpenGL 4.3 core
// context (Mesa's llvmpipe under Xvfb), set up by the game's own start-up.
#include "app/Startup.h"
#include "game/Settings.h"
#include "support/GlTestEnvironment.h"

#include <glad/gl.h>

#include <GLFW/glfw3.h>
#include <cstdio>
#include <gtest/gtest.h>

extern GLFWwindow* gWindow;

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (glfwInit() == GLFW_FALSE) {
        std::fprintf(stderr, "GL tests need a display (run them under Xvfb)\n");
        return 1;
    }
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    gWindow = glfwCreateWindow(800, 600, "Chronocell GL tests", nullptr, nullptr);
    if (gWindow == nullptr) {
        std::fprintf(stderr, "GL tests could not create an OpenGL 4.3 core window\n");
        glfwTerminate();
        return 1;
    }
    glfwMakeContextCurrent(gWindow);
    if (gladLoadGL(glfwGetProcAddress) == 0) {
        std::fprintf(stderr, "GL tests could not load the OpenGL functions\n");
        glfwTerminate();
        return 1;
    }
    configureOpenGl(gWindow, Settings{});

    const int result = RUN_ALL_TESTS();
    glfwDestroyWindow(gWindow);
    glfwTerminate();
    return result;
}
