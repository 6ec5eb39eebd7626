#pragma once

// Running counts of what happened since the program started, never reset: a game's summary is
// the difference between its start and its end, and a replay checks itself where they move.
struct PlayTally {
    int gamesStarted = 0;
    int framesPlayed = 0;
    int stonesSpawned = 0;
    int phaseSwitches = 0;
};
