#pragma once

#include "game/PassInput.h"
#include "replay/CheckpointWatch.h"
#include "replay/GameSummaries.h"
#include "replay/RecordingReader.h"
#include "replay/ReplayClock.h"

#include <optional>
#include <ostream>
#include <string>

struct Application;
struct GLFWwindow;

// A recorded game played again through the game's own passes: the recording is the input
// source and the clock. After each pass it checks that the rules read the clock as often as
// they did and reached the same checkpoints; a replay that would show another game stops.
// With a window, the player's keys and wheel do nothing but Escape, which leaves.
class GameReplay : public InputSource {
  public:
    enum class Step { Played, Ended, Left, Diverged };

    GameReplay(RecordingReader reader, std::ostream& summaries);

    ReplayClock& clock() { return clock_; }
    // Replays in real time in this window.
    void showIn(GLFWwindow* window, Application& application);

    Step playPass(Application& application);
    // After the last pass: keeps the last picture until the player leaves.
    void waitForLeave();
    // Reports a game still in progress as unfinished.
    void finish(const GameContext& context) { summaries_.finish(context); }
    // The pass that diverged, counted from 1.
    std::uint64_t passNumber() const { return reader_.passesRead(); }

    HeldKeys sampleHeldKeys() override { return recorded_.held; }
    void collectCommands(std::vector<PassCommand>& commands) override;

  private:
    // Handles the window's events; true once the player pressed Escape or closed the window.
    bool playerLeft();

    RecordingReader reader_;
    ReplayClock clock_;
    CheckpointWatch checkpoints_;
    GameSummaries summaries_;
    RecordedPass recorded_;
    PassInput pass_;
    GLFWwindow* window_ = nullptr;
    Application* application_ = nullptr;
    bool left_ = false;
};

// Reads and checks a whole recording; on failure prints one line naming the file and the
// problem on standard error and returns nothing.
std::optional<RecordingReader> openRecording(const std::string& path, RecordingHeader& header);
