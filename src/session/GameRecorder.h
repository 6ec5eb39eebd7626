#pragma once

#include "game/GameState.h"
#include "replay/CheckpointWatch.h"
#include "replay/GameSummaries.h"
#include "replay/RecordingClock.h"
#include "replay/RecordingWriter.h"
#include "session/MainLoop.h"

#include <chrono>
#include <ostream>
#include <string>

// Records a game as it is played: the rules take their time from clock(), and after each pass
// the recorder writes what the pass took from outside (held keys, commands, clock values) and,
// where a game started or a stone appeared, a checkpoint. It prints each game's summary line.
class GameRecorder : public PassObserver {
  public:
    GameRecorder(GameClock& realClock, std::ostream& summaries);

    // Writes the header; false, after a line on standard error, when the file cannot be written.
    bool start(const std::string& path, const RecordingHeader& header);
    GameClock& clock() { return clock_; }

    void passDone(const PassInput& pass, const GameContext& context) override;
    // Reports a game still in progress and closes the file.
    void finish(const GameContext& context);

  private:
    RecordingClock clock_;
    RecordingWriter writer_;
    CheckpointWatch checkpoints_;
    GameSummaries summaries_;
    RecordedPass pass_;
    GameState stateBefore_ = GameState::StartScreen;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};
