#pragma once

#include "game/PassInput.h"
#include "input/Application.h"
#include "replay/RecordingReader.h"
#include "web/PageGameClock.h"
#include "web/PageGamepadStates.h"

#include <memory>
#include <optional>
#include <string>

class GameFrameOutput;
class GameRecorder;
class GameReplay;
class GameSounds;
class PlayerInput;
class TimelineAnimationClock;
struct GameContext;
struct GameResources;
struct GLFWwindow;

// What one start of the desktop game is, in a page: the settings read, the sounds opened, the
// content loaded, and then a game played at the page's keys and pads (always recorded) or a
// recording replayed. The page's window outlives its sessions; each session starts as fresh as
// a program does.
class PageSession {
  public:
    // A game to play, recorded to `recordingPath`.
    static std::unique_ptr<PageSession> play(GLFWwindow* window, const std::string& recordingPath);
    // A recording opened (and checked) with openRecording, replayed as --replay does.
    static std::unique_ptr<PageSession> replay(GLFWwindow* window, RecordingReader recording,
                                               const RecordingHeader& header);
    ~PageSession();
    PageSession(const PageSession&) = delete;
    PageSession& operator=(const PageSession&) = delete;

    // One pass of the loop; false once the session is over (the window asked to close, or a
    // replay left or diverged).
    bool frame();
    // Ends it as the desktop game ends: a game in progress is reported, the recording closed.
    void end();
    // The recording this session writes; empty for a replay.
    const std::string& recordingPath() const { return recordingPath_; }

  private:
    explicit PageSession(GLFWwindow* window);
    void open();
    bool replayFrame();

    GLFWwindow* window_;
    std::unique_ptr<GameContext> context_;
    std::unique_ptr<GameSounds> sounds_;
    std::unique_ptr<GameResources> resources_;
    std::unique_ptr<GameFrameOutput> output_;
    PageGameClock clock_;
    std::unique_ptr<Application> application_;
    PageGamepadStates pads_;
    std::unique_ptr<PlayerInput> player_;
    std::unique_ptr<GameRecorder> recorder_;
    std::unique_ptr<GameReplay> replay_;
    std::unique_ptr<TimelineAnimationClock> replayAnimation_;
    PassInput pass_;
    std::string recordingPath_;
    bool replayEnded_ = false;
    bool ended_ = false;
};
