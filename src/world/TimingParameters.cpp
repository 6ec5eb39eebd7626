#include "world/TimingParameters.h"

#include "world/Random.h"

namespace {

constexpr float kShortestFirstPhase = 11.0f;
constexpr float kFirstPhaseSpread = 9.0f;
constexpr float kFirstStoneSpread = 0.7f;
constexpr float kEarliestFirstHint = 5.0f;
constexpr float kFirstHintSpread = 4.0f;

} // namespace

void TimingParameters::drawForGameStart(Random& random) {
    phaseDuration = kShortestFirstPhase + kFirstPhaseSpread * randomUnit(random);
    stoneSpawnInterval = kFirstStoneSpread * randomUnit(random);
    relicHintInterval = kEarliestFirstHint + kFirstHintSpread * randomUnit(random);
}
