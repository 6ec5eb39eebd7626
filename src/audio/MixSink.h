#pragma once

#include <cstdint>
#include <optional>
#include <span>

// A player handed the mix in blocks, each to be played straight after the one before.
class MixSink {
  public:
    virtual ~MixSink() = default;
    // How much of what it was given is still to be heard, in seconds; none while it plays
    // nothing, and then it drops what it is given.
    virtual std::optional<double> queuedSeconds() = 0;
    // The next frames of the mix: 16-bit stereo, left then right, at 44.1 kHz.
    virtual void queue(std::span<const std::int16_t> stereo) = 0;
};
