#pragma once

#include <optional>
#include <string>
#include <vector>

// The benchmark's command line: --frames N (frames of play per loop), --csv FILE (every
// frame time), --soak MINUTES (then keep playing that long and watch resident memory),
// --record FILE (record the game's scripted play while it is measured), --sound (the game loop
// plays its sounds on the default audio device, as the game does).
struct BenchOptions {
    static constexpr int kDefaultFrames = 2000;
    static constexpr int kMinFrames = 100;

    int frames = kDefaultFrames;
    std::string csvPath;
    std::string recordPath;
    double soakMinutes = 0.0;
    bool sound = false;
};

// The options, or nothing (after a message on standard error) when an argument is unknown, a
// value is missing or a number is not a number in range.
std::optional<BenchOptions> parseBenchOptions(const std::vector<std::string>& arguments);
