#include "replay/ReplaySession.h"

#include "game/FrameOutput.h"
#include "game/GameContext.h"
#include "game/LoopPass.h"
#include "game/StatePass.h"
#include "replay/GameVersion.h"

ReplaySession::ReplaySession(RecordingReader reader, std::string recordedVersion,
                             std::ostream& summaries, std::ostream& errors)
    : reader_(std::move(reader)), recordedVersion_(std::move(recordedVersion)),
      summaries_(summaries), errors_(errors) {}

void ReplaySession::pace(std::function<bool()> playerLeft) {
    playerLeft_ = std::move(playerLeft);
    clock_.pace([this] { return this->playerLeft(); });
}

bool ReplaySession::playerLeft() {
    left_ = left_ || (playerLeft_ && playerLeft_());
    return left_;
}

void ReplaySession::collectCommands(std::vector<PassCommand>& commands) {
    playerLeft();
    commands.insert(commands.end(), recorded_.commands.begin(), recorded_.commands.end());
}

ReplaySession::Step ReplaySession::playPass(GameContext& context, FrameOutput& output,
                                            CommandEffects& effects) {
    if (reader_.next(recorded_) != RecordingReader::Next::Pass) {
        return Step::Ended;
    }
    clock_.startPass(recorded_.clockReads);
    clock_.waitForWallTime(recorded_.wallMilliseconds);
    runLoopPass(context, clock_, output, effects, *this, pass_);
    const bool sameCheckpoint = checkpoints_.afterPass(context) == recorded_.checkpoint;
    if (!clock_.tookEveryRead() || !sameCheckpoint) {
        // The pass played another game than the recorded one: it has no summary of its own.
        return Step::Diverged;
    }
    summaries_.afterPass(context);
    return left_ ? Step::Left : Step::Played;
}

ReplaySession::Step ReplaySession::playToEnd(GameContext& context, FrameOutput& output,
                                             CommandEffects& effects) {
    begin(context, output);
    Step step = playPass(context, output, effects);
    while (step == Step::Played) {
        step = playPass(context, output, effects);
    }
    finish(step, context);
    return step;
}

void ReplaySession::begin(GameContext& context, FrameOutput& output) {
    prepareFirstPass(context, output);
}

void ReplaySession::finish(Step last, const GameContext& context) {
    if (last == Step::Diverged) {
        reportDivergence();
    } else {
        summaries_.finish(context);
    }
}

void ReplaySession::reportDivergence() const {
    errors_ << "replay diverged at frame " << passNumber() << " (recorded by version "
            << recordedVersion_ << ", replayed by version " << gameVersion() << ")" << std::endl;
}
