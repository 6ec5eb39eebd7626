#pragma once

#include "game/CommandEffects.h"
#include "replay/ReplaySession.h"

#include <memory>

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

    // The same a pass at a time, for a loop that gives control back between passes: begin, then
    // passes while they answer Played. The last one finishes the replay; after an end the picture
    // stays until playerLeft() says yes.
    void begin(GLFWwindow* window, Application& application);
    ReplaySession::Step playPass();
    // Handles the window's events; true once the player pressed Escape or closed the window.
    bool playerLeft();

  private:
    void waitForLeave();

    ReplaySession session_;
    std::unique_ptr<CommandEffects> effects_;
    GLFWwindow* window_ = nullptr;
    Application* application_ = nullptr;
    bool left_ = false;
};
