#pragma once

#include "game/PassInput.h"
#include "replay/CheckpointWatch.h"
#include "replay/GameSummaries.h"
#include "replay/RecordingReader.h"
#include "replay/ReplayClock.h"

#include <functional>
#include <ostream>
#include <string>

class CommandEffects;
class FrameOutput;

// A recorded game played again through the game's own passes: the recording is the input
// source and the clock. After each pass it checks that the rules read the clock as often as
// they did and reached the same checkpoints; a replay that would show another game stops with
// one line on `errors` naming the pass and both game versions.
class ReplaySession : public InputSource {
  public:
    enum class Step { Played, Ended, Left, Diverged };

    ReplaySession(RecordingReader reader, std::string recordedVersion, std::ostream& summaries,
                  std::ostream& errors);

    ReplayClock& clock() { return clock_; }
    // Replays in real time. `playerLeft` is asked during waits and at every pass; once it says
    // yes the replay stops.
    void pace(std::function<bool()> playerLeft);

    // Plays every pass to the end of the recording, a divergence or the player leaving, and
    // reports a game still in progress at the end as unfinished.
    Step playToEnd(GameContext& context, FrameOutput& output, CommandEffects& effects);
    // The same a pass at a time, for a loop that must give control back between passes: begin,
    // then passes while they answer Played, then finish with the last answer.
    void begin(GameContext& context, FrameOutput& output);
    Step playPass(GameContext& context, FrameOutput& output, CommandEffects& effects);
    void finish(Step last, const GameContext& context);
    // The line that says where a replay diverged and which versions recorded and replayed it.
    void reportDivergence() const;
    // The passes read so far; after a divergence, the pass that diverged, counted from 1.
    std::uint64_t passNumber() const { return reader_.passesRead(); }

    HeldKeys sampleHeldKeys() override { return recorded_.held; }
    void collectCommands(std::vector<PassCommand>& commands) override;

  private:
    bool playerLeft();

    RecordingReader reader_;
    std::string recordedVersion_;
    ReplayClock clock_;
    CheckpointWatch checkpoints_;
    GameSummaries summaries_;
    std::ostream& errors_;
    RecordedPass recorded_;
    PassInput pass_;
    std::function<bool()> playerLeft_;
    bool left_ = false;
};
