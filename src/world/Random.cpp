#include "world/Random.h"

namespace {

// Linear congruential step; unsigned arithmetic wraps modulo 2^32 by definition.
constexpr std::uint32_t kMultiplier = 214013u;
constexpr std::uint32_t kIncrement = 2531011u;
// The low bits of an LCG are poor, so results come from bits 16 to 30.
constexpr int kResultShift = 16;

} // namespace

int Random::next() {
    state_ = state_ * kMultiplier + kIncrement;
    return static_cast<int>((state_ >> kResultShift) & static_cast<std::uint32_t>(kMax));
}

float randomUnit(Random& random) {
    return static_cast<float>(random.next()) / static_cast<float>(Random::kMax);
}

float randomRange(Random& random, float min, float max) {
    return randomUnit(random) * (max - min) + min;
}
