#pragma once

#include "game/GameContext.h"
#include "world/ParticleSystem.h"

#include <memory>

struct RecordingHeader;

// A game context for a replay without drawing: `settings` with the recording's own in their
// place, and the trails simulated without their upload, as they draw from the random generator.
// Its links go with it.
class HeadlessWorld {
  public:
    HeadlessWorld(const RecordingHeader& header, const Settings& settings);
    ~HeadlessWorld();
    HeadlessWorld(const HeadlessWorld&) = delete;
    HeadlessWorld& operator=(const HeadlessWorld&) = delete;

    GameContext& context() { return *context_; }

  private:
    std::unique_ptr<GameContext> context_ = std::make_unique<GameContext>();
    ParticleSystem playerParticles_ = ParticleSystem::withoutGpu();
    ParticleSystem clockParticles_ = ParticleSystem::withoutGpu();
};
