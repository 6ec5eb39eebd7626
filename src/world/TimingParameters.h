#pragma once

class Random;

// The three randomised rhythms of a game, in seconds: how long a phase lasts, the pause before
// the next stone, and the pause before the next relic hint.
struct TimingParameters {
    // Mid-range values for the time before any game: they are never used for play, since a
    // game start draws fresh ones, and taking no draws here keeps the sequence of every game
    // the same.
    float phaseDuration = 15.5f;
    float stoneSpawnInterval = 0.35f;
    float relicHintInterval = 7.0f;

    // Three draws, in this order: phase 11 to 20 s, first stone within 0.7 s, first hint 5 to 9 s.
    void drawForGameStart(Random& random);
};
