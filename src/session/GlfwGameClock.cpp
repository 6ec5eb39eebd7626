#include "session/GlfwGameClock.h"

#include "platform/QuitSignals.h"

#include <GLFW/glfw3.h>
#include <algorithm>
#include <chrono>
#include <thread>

namespace {
constexpr std::chrono::milliseconds kSlice{20};
}

double GlfwGameClock::now() {
    return glfwGetTime();
}

void GlfwGameClock::setTime(double seconds) {
    glfwSetTime(seconds);
}

// The freeze's second is slept in slices, so Ctrl+C during it ends the game at once.
void GlfwGameClock::sleepMilliseconds(int milliseconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!quitSignals::received() && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_until(std::min(until, std::chrono::steady_clock::now() + kSlice));
    }
}
