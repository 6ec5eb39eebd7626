#include "ScriptedGame.h"

#include "game/GameContext.h"
#include "game/GameRules.h"
#include "game/GameStart.h"

#include <GLFW/glfw3.h>

ScriptedGame::ScriptedGame(GameContext& context, FrameOutput& output, double frameSeconds)
    : context_(context), output_(output), clock_(frameSeconds), script_(frameSeconds) {}

ScriptedGame::Snapshot ScriptedGame::snapshot() const {
    Snapshot state;
    state.lane = context_.player.lane;
    state.inAir = context_.player.state == Player::kInAir;
    state.stones = context_.stones.stones.size();
    state.clockActive = !context_.clockSlot.collected;
    state.relicMode = context_.relic.relicMode;
    state.relicCount = context_.game.relicCount;
    state.reversedPhase = context_.game.reversedPhase;
    state.pauses = clock_.pauses();
    return state;
}

bool ScriptedGame::record(const std::string& path) {
    recorder_ = std::make_unique<GameRecorder>(clock_, summaries_);
    return recorder_->start(path, recordingHeaderFor(context_.settings));
}

GameClock& ScriptedGame::rulesClock() {
    return recorder_ ? recorder_->clock() : clock_;
}

void ScriptedGame::prepare() {
    pass_.commands.clear();
    if (context_.state != GameState::Playing) {
        if (context_.state == GameState::Lost) {
            ++coverage_.gamesLost;
        } else if (context_.state == GameState::Won) {
            ++coverage_.gamesWon;
        }
        // What Enter on the screen would do, recorded as that key.
        pass_.commands.push_back(PassCommand::keyReleased(GLFW_KEY_ENTER));
        startGame(context_, rulesClock(), output_);
        ++coverage_.gamesStarted;
    }
    beforeKeys_ = snapshot();
    pass_.held = script_.keysFor(context_);
    pollHeldKeys(context_, pass_.held);
}

PassEvents ScriptedGame::play() {
    clock_.advanceFrame();
    context_.clock.tick(rulesClock().now());
    const Snapshot before = snapshot();
    runPlayingFrame(context_, rulesClock(), output_);
    if (recorder_) {
        recorder_->passDone(pass_, context_);
    }
    const Snapshot after = snapshot();
    countStep(before);

    PassEvents events;
    events.paused = after.pauses != before.pauses;
    const bool firstStone = before.stones == 0 && after.stones > 0;
    const bool newClock = !before.clockActive && after.clockActive;
    events.firstAppearance = firstStone || newClock || after.reversedPhase != before.reversedPhase;
    return events;
}

void ScriptedGame::countStep(const Snapshot& before) {
    const Snapshot after = snapshot();
    coverage_.laneChanges += after.lane != beforeKeys_.lane ? 1 : 0;
    coverage_.jumps += !before.inAir && after.inAir ? 1 : 0;
    coverage_.stonesSpawned += after.stones > before.stones ? 1 : 0;
    coverage_.relicActivations += !beforeKeys_.relicMode && before.relicMode ? 1 : 0;
    coverage_.relicPickups += after.relicCount > before.relicCount ? 1 : 0;
    coverage_.phaseSwitches += after.reversedPhase != before.reversedPhase ? 1 : 0;
}
