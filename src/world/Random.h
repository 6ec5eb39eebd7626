#pragma once

#include <cstdint>

// The game's one pseudo-random generator. It is never seeded, so every run replays the same
// sequence of stones, clocks and particles; results run from 0 to kMax inclusive.
class Random {
  public:
    static constexpr int kMax = 32767;

    Random() = default;
    // Starts from a chosen internal state; the game itself never does, tests use it to steer draws.
    explicit Random(std::uint32_t state) : state_(state) {}

    int next();
    // The internal state, for a replay to check that it draws what the recorded game drew.
    std::uint32_t state() const { return state_; }

  private:
    std::uint32_t state_ = 1;
};

// One draw scaled into [0, 1], both ends reachable.
float randomUnit(Random& random);

// One draw mapped linearly onto [min, max].
float randomRange(Random& random, float min, float max);
