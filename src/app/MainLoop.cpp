#include "app/MainLoop.h"

#include "app/Application.h"
#include "app/WindowCallbacks.h"
#include "game/FrameOutput.h"
#include "game/GameContext.h"
#include "game/PassInput.h"
#include "game/StatePass.h"

#include <GLFW/glfw3.h>

void runLoopPass(GLFWwindow* window, Application& application, InputSource& input,
                 PassInput& pass) {
    pass.held = input.sampleHeldKeys();
    pollHeldKeys(application.context, pass.held);
    pass.commands.clear();
    input.collectCommands(pass.commands);
    runCommands(window, application, pass.commands);
    application.output.clearFrame();
    runStatePass(application.context, application.clock, application.output);
}

void runMainLoop(GLFWwindow* window, Application& application, InputSource& input,
                 PassObserver* observer) {
    PassInput pass;
    while (!glfwWindowShouldClose(window)) {
        runLoopPass(window, application, input, pass);
        if (observer != nullptr) {
            observer->passDone(pass, application.context);
        }
    }
}
