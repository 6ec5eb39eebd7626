#pragma once

#include "replay/ReplaySession.h"

struct Application;
struct GLFWwindow;

// A recorded game shown again in a window at its recorded pace. The player's keys and wheel do
// nothing but Escape, which leaves, as does the window's close button.
class GameReplay {
  public:
    GameReplay(RecordingReader reader, const RecordingHeader& header, std::ostream& summaries);

    ReplayClock& clock() { return session_.clock(); }
    // Plays the recording in `window`; at its end the last picture stays until the player leaves.
    ReplaySession::Step playIn(GLFWwindow* window, Application& application);

  private:
    // Handles the window's events; true once the player pressed Escape or closed the window.
    bool playerLeft();
    void waitForLeave();

    ReplaySession session_;
    GLFWwindow* window_ = nullptr;
    Application* application_ = nullptr;
    bool left_ = false;
};
