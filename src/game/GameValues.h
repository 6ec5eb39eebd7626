#pragma once

// The running game's phase, its three timers (seconds of ordinary play) and the relic count.
struct GameValues {
    bool reversedPhase = false;
    float phaseTime = 0.0f;
    float spawnTimer = 0.0f;
    float relicTimer = 0.0f;
    int relicCount = 0;
};
