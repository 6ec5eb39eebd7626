#pragma once

#include "FrameStats.h"
#include "ScriptedGame.h"

#include <string>
#include <vector>

struct GameContext;

// One pass of one loop: its wall time, what happened in it and the heap allocations it made.
struct LoopSample {
    double milliseconds = 0.0;
    // CPU time of the main thread in the pass.
    double cpuMilliseconds = 0.0;
    PassEvents events;
    unsigned long allocations = 0;
};

struct StartupStep {
    std::string name;
    double milliseconds = 0.0;
    // Resident memory when the step was done.
    long residentKib = 0;
};

// Resident memory sampled while playing on after the benchmark.
struct SoakResult {
    double minutes = 0.0;
    long frames = 0;
    std::vector<long> residentKib;
};

struct BenchReport {
    std::string renderer;
    std::string glVersion;
    int frames = 0;
    double frameSeconds = 0.0;
    std::vector<StartupStep> startup;
    double startupTotal = 0.0;
    std::vector<LoopSample> game;
    std::vector<LoopSample> bareDraw;
    std::vector<LoopSample> clearSwap;
    std::vector<LoopSample> rules;
    ScriptCoverage coverage;
    bool sameGame = false;
    long peakResidentKib = 0;
    long residentKib = 0;
    SoakResult soak;
};

// The frame times of the frames that did not freeze for a designed one-second pause.
std::vector<double> unpausedMilliseconds(const std::vector<LoopSample>& samples);

// Median CPU time of the main thread per frame.
double medianCpuMilliseconds(const std::vector<LoopSample>& samples);

// The slowest frame in which something first appeared or the phase switched, by wall time or
// by main-thread CPU, as a multiple of the median of the other frames; 0 when there was none.
double worstFirstAppearanceRatio(const std::vector<LoopSample>& samples,
                                 double LoopSample::*measure);

// Whether two contexts played the same game: same player, world, relics and random sequence.
bool sameGame(const GameContext& a, const GameContext& b);

void printReport(const BenchReport& report);

// One line per frame of every loop; false when the file cannot be written.
bool writeCsv(const BenchReport& report, const std::string& path);
