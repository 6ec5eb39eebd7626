#include "FrameStats.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kMillisecondsPerSecond = 1000.0;
constexpr double kHalf = 0.5;
constexpr double kNinetyNinth = 0.99;
} // namespace

double percentile(std::vector<double> samples, double fraction) {
    if (samples.empty()) {
        return 0.0;
    }
    const double clamped = std::clamp(fraction, 0.0, 1.0);
    const auto count = static_cast<double>(samples.size());
    // Nearest rank: the smallest sample with at least `fraction` of all samples at or below it.
    const auto rank = static_cast<std::size_t>(std::max(1.0, std::ceil(clamped * count)));
    const auto index = static_cast<std::ptrdiff_t>(rank - 1);
    std::nth_element(samples.begin(), samples.begin() + index, samples.end());
    return samples[static_cast<std::size_t>(index)];
}

FrameStats summarize(const std::vector<double>& frameMilliseconds) {
    FrameStats stats;
    stats.frames = static_cast<int>(frameMilliseconds.size());
    if (frameMilliseconds.empty()) {
        return stats;
    }
    stats.median = percentile(frameMilliseconds, kHalf);
    stats.p99 = percentile(frameMilliseconds, kNinetyNinth);
    stats.worst = *std::max_element(frameMilliseconds.begin(), frameMilliseconds.end());
    stats.onePercentLow = stats.p99 > 0.0 ? kMillisecondsPerSecond / stats.p99 : 0.0;
    return stats;
}
