#include "replay/CheckpointWatch.h"

#include "game/GameContext.h"

std::optional<Checkpoint> CheckpointWatch::afterPass(const GameContext& context) {
    const PlayTally& tally = context.tally;
    if (tally.gamesStarted == gamesStarted_ && tally.stonesSpawned == stonesSpawned_) {
        return std::nullopt;
    }
    gamesStarted_ = tally.gamesStarted;
    stonesSpawned_ = tally.stonesSpawned;
    const TimingParameters& timing = context.timing;
    return Checkpoint{context.random.state(), timing.phaseDuration, timing.stoneSpawnInterval,
                      timing.relicHintInterval};
}
