#pragma once

#include <memory>
#include <string>

class PageSession;
struct GLFWwindow;

// The game in a page, from the page's first frame to its closing: one session after another in
// the same window. A session ends where the desktop game would exit (Escape on a title, win or
// loss screen, or the end of a replay) or when the player ends it with the page's button; its
// recording is then offered for download and a new game waits at the start screen. A recording
// dropped on the page replays in it; a settings file dropped on it is kept in the browser and
// starts a new session with it.
class PageGame {
  public:
    explicit PageGame(GLFWwindow* window);
    ~PageGame();
    PageGame(const PageGame&) = delete;
    PageGame& operator=(const PageGame&) = delete;

    // One frame of the browser's: a file or request the page left, then one pass.
    void frame();

  private:
    void takeDroppedFile(const std::string& name);
    void endSession();
    void startPlaying();
    std::string nextRecordingPath();

    GLFWwindow* window_;
    std::unique_ptr<PageSession> session_;
    int recordings_ = 0;
};
