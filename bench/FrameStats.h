#pragma once

#include <vector>

// The figures the benchmark reports for one loop, all in milliseconds except the 1% low.
struct FrameStats {
    int frames = 0;
    double median = 0.0;
    double p99 = 0.0;
    double worst = 0.0;
    // Frames per second of the slowest 1% of frames: 1000 / p99.
    double onePercentLow = 0.0;
};

// The value at `fraction` (0 to 1) of the sorted samples by the nearest-rank rule, so the
// result is always one of the samples: 0.99 of 100 samples is the 99th smallest. No samples
// give 0. The samples are copied, the caller's order is kept.
double percentile(std::vector<double> samples, double fraction);

// Median, 99th percentile, worst frame and 1% low of a set of frame times.
FrameStats summarize(const std::vector<double>& frameMilliseconds);
