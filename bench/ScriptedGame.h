#pragma once

#include "BenchClock.h"
#include "ScriptedPlayer.h"

#include "game/PassInput.h"
#include "session/GameRecorder.h"

#include <cstddef>
#include <memory>
#include <sstream>
#include <string>

class FrameOutput;
struct GameContext;

// What the script made happen so far, to show that a run covered the whole game.
struct ScriptCoverage {
    int gamesStarted = 0;
    int gamesLost = 0;
    int gamesWon = 0;
    int laneChanges = 0;
    int jumps = 0;
    int stonesSpawned = 0;
    int relicActivations = 0;
    int relicPickups = 0;
    int phaseSwitches = 0;
};

// What one pass showed for the first time or how it ended.
struct PassEvents {
    // The frame froze the picture for a second (phase switch or relic pickup).
    bool paused = false;
    // The first stone of a phase or a new relic clock appeared, or the phase switched: frames
    // that must not stall.
    bool firstAppearance = false;
};

// Plays a game pass by pass like the main loop does, with the script's held keys and a fixed
// frame time. A lost or won game is restarted at once, as Enter on its screen would.
class ScriptedGame {
  public:
    ScriptedGame(GameContext& context, FrameOutput& output, double frameSeconds);

    // Starts a game when none runs, then applies the script's held keys.
    void prepare();
    // The frame clock and one frame of play (which swaps buffers through the output).
    PassEvents play();

    // Records every pass from now on to `path`; false when the file cannot be written.
    bool record(const std::string& path);

    GameContext& context() { return context_; }
    BenchClock& clock() { return clock_; }
    const ScriptCoverage& coverage() const { return coverage_; }

  private:
    struct Snapshot {
        int lane = 0;
        bool inAir = false;
        std::size_t stones = 0;
        bool clockActive = false;
        bool relicMode = false;
        int relicCount = 0;
        bool reversedPhase = false;
        int pauses = 0;
    };
    Snapshot snapshot() const;
    void countStep(const Snapshot& before);

    // The clock the rules read: the fixed steps, through the recorder when recording.
    GameClock& rulesClock();

    GameContext& context_;
    FrameOutput& output_;
    BenchClock clock_;
    std::ostringstream summaries_;
    std::unique_ptr<GameRecorder> recorder_;
    PassInput pass_;
    ScriptedPlayer script_;
    ScriptCoverage coverage_;
    Snapshot beforeKeys_;
};
