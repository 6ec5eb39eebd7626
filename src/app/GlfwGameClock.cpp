#include "app/GlfwGameClock.h"

#include <GLFW/glfw3.h>
#include <chrono>
#include <thread>

double GlfwGameClock::now() {
    return glfwGetTime();
}

void GlfwGameClock::setTime(double seconds) {
    glfwSetTime(seconds);
}

void GlfwGameClock::sleepMilliseconds(int milliseconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    std::this_thread::sleep_until(until);
}
