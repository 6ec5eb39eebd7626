#pragma once

// Frame timing of play, all in seconds of the game clock (GLFW time, reset at a game start):
// the frame time every motion uses, the one-second frame-rate window and the 90-second countdown.
struct FrameClock {
    static constexpr int kGameSeconds = 90;

    float currentTime = 0.0f;
    double lastFrameTime = 0.0;
    float deltaTime = 0.0f;
    double fpsAccumulator = 0.0;
    int frameCount = 0;
    int displayedFps = 0;
    int secondsElapsed = 0;
    int remainingSeconds = kGameSeconds;
    float gameStartTime = 0.0f;
    bool hudVisible = true;

    // Measures one frame of play at `now`. The countdown moves at most one second per frame, so
    // after a long frame it catches up one second per frame.
    void tick(double now);

    // After a deliberate pause: takes the pause out of the next frame's deltaTime while the
    // frame-rate window and the countdown, which follow the game clock, keep it.
    void remeasure(double now);

    // True only in the frame that closed a one-second frame-rate window.
    bool closedFpsWindow() const { return fpsAccumulator == 0.0; }
};
