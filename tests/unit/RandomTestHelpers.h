#pragma once

#include "world/Random.h"

#include <cstdint>
#include <functional>

// The earliest point of the sequence whose upcoming draws satisfy `wanted` (it receives a
// copy to draw from), so a test can feed chosen values into the code under test.
inline Random randomWhere(const std::function<bool(Random&)>& wanted) {
    Random random;
    for (;;) {
        Random probe = random;
        if (wanted(probe)) {
            return random;
        }
        random.next();
    }
}

// Just before the first draw equal to `value`.
inline Random randomBefore(int value) {
    return randomWhere([value](Random& probe) { return probe.next() == value; });
}

inline Random advanced(Random random, int draws) {
    for (int i = 0; i < draws; ++i) {
        random.next();
    }
    return random;
}

// True when both generators stand at the same point of the sequence (checked on several
// upcoming draws so one coincidence cannot pass).
inline bool sameUpcomingDraws(Random a, Random b) {
    constexpr int kCompared = 4;
    for (int i = 0; i < kCompared; ++i) {
        if (a.next() != b.next()) {
            return false;
        }
    }
    return true;
}

// A generator whose draw after `skipped` others is `value`: the step run backwards from a state
// whose bits 16 to 30 hold the value.
inline Random randomWithDraw(int skipped, int value) {
    constexpr std::uint32_t kMultiplier = 214013u;
    constexpr std::uint32_t kIncrement = 2531011u;
    std::uint32_t inverse = kMultiplier; // Newton's iteration for the inverse modulo 2^32
    for (int step = 0; step < 5; ++step) {
        inverse *= 2u - kMultiplier * inverse;
    }
    std::uint32_t state = ((static_cast<std::uint32_t>(value) << 16) - kIncrement) * inverse;
    for (int step = 0; step < skipped; ++step) {
        state = (state - kIncrement) * inverse;
    }
    return Random(state);
}

// Draw `index` (from 0) of the sequence every run replays, worked out here without the game's
// generator: state = state * 214013 + 2531011 from state 1, result = bits 16 to 30.
inline int referenceDraw(int index) {
    std::uint32_t state = 1u;
    for (int i = 0; i <= index; ++i) {
        state = state * 214013u + 2531011u;
    }
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

inline float referenceUnit(int index) {
    return static_cast<float>(referenceDraw(index)) / 32767.0f;
}
