#include "session/MainLoop.h"

#include "game/LoopPass.h"
#include "input/Application.h"
#include "input/WindowEffects.h"
#include "platform/QuitSignals.h"

#include <GLFW/glfw3.h>

void runLoopPass(GLFWwindow* window, Application& application, InputSource& input,
                 PassInput& pass) {
    WindowEffects effects(window, application);
    runLoopPass(application.context, application.clock, application.output, effects, input, pass);
}

void runMainLoop(GLFWwindow* window, Application& application, InputSource& input,
                 PassObserver* observer) {
    PassInput pass;
    while (!glfwWindowShouldClose(window)) {
        if (quitSignals::received()) {
            glfwSetWindowShouldClose(window, GLFW_TRUE);
            break;
        }
        runLoopPass(window, application, input, pass);
        if (observer != nullptr) {
            observer->passDone(pass, application.context);
        }
    }
}
