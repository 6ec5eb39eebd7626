// Chronocell in a browser page: the game's content comes packed with the page, the player's own
// settings from the browser's storage (mounted by the page before this runs). The browser calls
// the loop once a frame; main returns to it at once, leaving the game behind.
#include "input/WindowCallbacks.h"
#include "render/AssetPath.h"
#include "scene/DrawingState.h"
#include "web/PageGame.h"

#include <GLFW/glfw3.h>
#include <emscripten.h>
#include <glad/gl.h>
#include <iostream>

namespace {

// The canvas starts at the game's default size; each session gives it its settings' size.
constexpr int kFirstWidth = 800;
constexpr int kFirstHeight = 600;

void runFrame(void* game) {
    static_cast<PageGame*>(game)->frame();
}

GLFWwindow* createPageWindow() {
    if (glfwInit() == GLFW_FALSE) {
        std::cerr << "chronocell: cannot open the game's window (this page needs WebGL 2)"
                  << std::endl;
        return nullptr;
    }
    glfwWindowHint(GLFW_CLIENT_API, GLFW_OPENGL_ES_API);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 3);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 0);
    GLFWwindow* window =
        glfwCreateWindow(kFirstWidth, kFirstHeight, "Chronocell", nullptr, nullptr);
    if (window == nullptr) {
        std::cerr << "chronocell: cannot open the game's window (this page needs WebGL 2)"
                  << std::endl;
        glfwTerminate();
        return nullptr;
    }
    glfwMakeContextCurrent(window);
    registerWindowCallbacks(window);
    setUpDrawingState();
    return window;
}

} // namespace

int main() {
    // The content sits at the root of the page's file system, as it sits beside the desktop game.
    setContentRoot({});
    GLFWwindow* window = createPageWindow();
    if (window == nullptr) {
        return 1;
    }
    // Lives as long as the page: main's stack is gone once the browser runs the loop.
    auto* game = new PageGame(window);
    emscripten_set_main_loop_arg(runFrame, game, 0, true);
    return 0;
}
