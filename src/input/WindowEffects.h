#pragma once

#include "game/CommandEffects.h"

struct Application;
struct GLFWwindow;

// The commands' effects on the real window and sound. Without a window (a headless pass) the
// keys that act on the window change the settings alone.
class WindowEffects : public CommandEffects {
  public:
    WindowEffects(GLFWwindow* window, Application& application)
        : window_(window), application_(application) {}

    // The size always comes from the settings; a window leaving fullscreen is placed at (0, 0).
    void fullscreenChanged() override;
    // Hints apply only to windows created later, so this changes the stored rate alone.
    void refreshRateChanged(int refreshRate) override;
    void quitRequested() override;
    void playLeft() override;
    void muteToggled() override;

  private:
    GLFWwindow* window_;
    Application& application_;
};
