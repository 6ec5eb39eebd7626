#include "web/PageGameClock.h"

#include "web/PageSleep.h"

#include <GLFW/glfw3.h>

double PageGameClock::now() {
    return glfwGetTime();
}

void PageGameClock::setTime(double seconds) {
    glfwSetTime(seconds);
}

void PageGameClock::sleepMilliseconds(int milliseconds) {
    sleepInPage(std::chrono::milliseconds(milliseconds), whileWaiting_);
}
