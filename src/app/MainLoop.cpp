#include "app/MainLoop.h"

#include "app/Application.h"
#include "game/FrameOutput.h"
#include "game/GameClock.h"
#include "game/GameContext.h"

#include <glad/gl.h>

#include <GLFW/glfw3.h>

namespace {

void runPlayingPass(Application& application) {
    application.context.clock.tick(application.clock.now());
    application.output.swapBuffers();
}

// The clear colour is set after the clear, so each screen's colour shows from the next pass on,
// and a game keeps the background of the screen it was started from.
void runStatePass(Application& application) {
    GameContext& context = application.context;
    switch (context.state) {
    case GameState::StartScreen:
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        application.output.swapBuffers();
        break;
    case GameState::Won:
        glClearColor(0.0f, 1.0f, 0.0f, 0.0f);
        application.output.swapBuffers();
        break;
    case GameState::Lost:
        glClearColor(1.0f, 0.0f, 0.0f, 0.0f);
        application.output.swapBuffers();
        break;
    case GameState::Playing:
        runPlayingPass(application);
        break;
    }
}

} // namespace

void runMainLoop(GLFWwindow* window, Application& application) {
    while (!glfwWindowShouldClose(window)) {
        glfwPollEvents();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        runStatePass(application);
    }
}
