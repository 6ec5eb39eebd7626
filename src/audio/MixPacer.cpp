#include "audio/MixPacer.h"

#include <algorithm>
#include <cmath>

MixPacer::MixPacer(double startSeconds) : startFrame_(framesIn(startSeconds)) {}

// Wall times are turned into frames whole, never their differences, so that rounding cannot
// add up across pumps into frames rendered twice or never.
std::int64_t MixPacer::framesIn(double seconds) {
    return std::llround(seconds * kFramesPerSecond);
}

std::int64_t MixPacer::framesDue(std::int64_t rendered, double wallSeconds,
                                 std::optional<double> queuedSeconds) {
    const std::int64_t wallFrame = framesIn(wallSeconds);
    // While the player plays, the mix's time is what it has heard, and the wall clock's account
    // is kept to it: should the player stop, the mix goes on from there.
    if (queuedSeconds) {
        const std::int64_t heard = rendered - std::min(framesIn(*queuedSeconds), rendered);
        startFrame_ = wallFrame - heard;
    }
    const std::int64_t wanted = wallFrame - startFrame_ + kLeadFrames - rendered;
    // Time missed in a stall is let go, not caught up.
    if (wanted > kMostFramesAtOnce) {
        startFrame_ += wanted - kMostFramesAtOnce;
    }
    return std::clamp<std::int64_t>(wanted, 0, kMostFramesAtOnce);
}
