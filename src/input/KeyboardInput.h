#pragma once

#include "game/PassInput.h"

struct Application;
struct GLFWwindow;

// The player at the keyboard and mouse: the movement keys as the window holds them, and the key
// releases and wheel turns of the window's events, in order.
class KeyboardInput : public InputSource {
  public:
    KeyboardInput(GLFWwindow* window, Application& application);

    HeldKeys sampleHeldKeys() override;
    // Handles the window's pending events.
    void collectCommands(std::vector<PassCommand>& commands) override;

  private:
    GLFWwindow* window_;
    Application& application_;
};
