#include "app/MainLoop.h"

#include "app/Application.h"
#include "app/GameResources.h"
#include "app/GamepadPolling.h"
#include "app/ScenePass.h"
#include "game/FrameOutput.h"
#include "game/GameClock.h"
#include "game/GameContext.h"
#include "game/GameRules.h"
#include "game/PlayerControls.h"
#include "text/ScreenTexts.h"

#include <glad/gl.h>

#include <GLFW/glfw3.h>

namespace {

bool isHeld(GLFWwindow* window, int key) {
    return glfwGetKey(window, key) == GLFW_PRESS;
}

HeldKeys sampleHeldKeys(GLFWwindow* window) {
    HeldKeys keys;
    keys.w = isHeld(window, GLFW_KEY_W);
    keys.a = isHeld(window, GLFW_KEY_A);
    keys.s = isHeld(window, GLFW_KEY_S);
    keys.d = isHeld(window, GLFW_KEY_D);
    keys.space = isHeld(window, GLFW_KEY_SPACE);
    keys.t = isHeld(window, GLFW_KEY_T);
    return keys;
}

// The clear colour is set after the clear, so each screen's colour shows from the next pass on,
// and a game keeps the background of the screen it was started from.
void runStatePass(Application& application, GameResources& resources) {
    GameContext& context = application.context;
    TextRenderer& text = *resources.textRenderer;
    switch (context.state) {
    case GameState::StartScreen:
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        drawScreenTexts(text, Screen::Start);
        updateIdleParticles(context, resources);
        application.output.swapBuffers();
        break;
    case GameState::Won:
        drawScreenTexts(text, Screen::Won);
        glClearColor(0.0f, 1.0f, 0.0f, 0.0f);
        application.output.swapBuffers();
        break;
    case GameState::Lost:
        drawScreenTexts(text, Screen::Lost);
        glClearColor(1.0f, 0.0f, 0.0f, 0.0f);
        application.output.swapBuffers();
        break;
    case GameState::Playing:
        context.clock.tick(application.clock.now());
        runPlayingFrame(context, application.clock, application.output);
        break;
    }
}

// A pad's released buttons act right after the window's events, where released keys act.
void runPass(GLFWwindow* window, Application& application, GameResources& resources,
             const HeldKeys& keys, const PadCommandList& padCommands) {
    pollHeldKeys(application.context, keys);
    glfwPollEvents();
    runGamepadCommands(window, application, padCommands);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    runStatePass(application, resources);
}

} // namespace

void prepareFirstPass(FrameClock& clock) {
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    clock.displayedFps = 0;
    clock.frameCount = 0;
}

void runLoopPass(Application& application, GameResources& resources, const HeldKeys& keys) {
    runPass(nullptr, application, resources, keys, PadCommandList{});
}

void runMainLoop(GLFWwindow* window, Application& application, GameResources& resources) {
    GamepadTracker pads;
    while (!glfwWindowShouldClose(window)) {
        const HeldKeys keys = sampleHeldKeys(window);
        pollGamepads(pads);
        runPass(window, application, resources, heldByEither(keys, pads.held()), pads.commands());
    }
}
