#include "game/FrameClock.h"

void FrameClock::tick(double now) {
    currentTime = static_cast<float>(now);
    if (secondsElapsed < static_cast<int>(currentTime)) {
        --remainingSeconds;
        ++secondsElapsed;
    }
    deltaTime = static_cast<float>(static_cast<double>(currentTime) - lastFrameTime);
    lastFrameTime = static_cast<double>(currentTime);
    fpsAccumulator += deltaTime;
    if (fpsAccumulator >= 1.0) {
        displayedFps = frameCount;
        frameCount = 0;
        fpsAccumulator = 0.0;
    }
    ++frameCount;
}

void FrameClock::remeasure(double now) {
    currentTime = static_cast<float>(now);
    deltaTime = static_cast<float>(static_cast<double>(currentTime) - lastFrameTime);
    fpsAccumulator += deltaTime;
    lastFrameTime = static_cast<double>(currentTime);
}
