#pragma once

#include "audio/MixSink.h"

#include <algorithm>
#include <cstdint>
#include <vector>

// A browser's player as audio.js drives one: blocks played back to back on a clock of its own,
// which may run a little fast or slow against the wall clock; a queue that ran dry starts again a
// little after now; what it is given while it is not playing is dropped.
class SimulatedMixPlayer : public MixSink {
  public:
    static constexpr double kRestartDelaySeconds = 0.02;

    struct Block {
        double start;
        double seconds;
        // Where it begins among the frames given.
        std::int64_t firstFrame;
    };

    explicit SimulatedMixPlayer(double clockRate = 1.0) : clockRate_(clockRate) {}

    double now() const { return wall * clockRate_; }

    std::optional<double> queuedSeconds() override {
        return playing ? std::optional(std::max(nextStart_ - now(), 0.0)) : std::nullopt;
    }

    void queue(std::span<const std::int16_t> stereo) override {
        const auto firstFrame = static_cast<std::int64_t>(given.size() / 2);
        given.insert(given.end(), stereo.begin(), stereo.end());
        if (!playing) {
            nextStart_ = 0.0;
            return;
        }
        const double start = nextStart_ > now() ? nextStart_ : now() + kRestartDelaySeconds;
        played.push_back({start, static_cast<double>(stereo.size() / 2) / 44100.0, firstFrame});
        nextStart_ = start + played.back().seconds;
    }

    double wall = 0.0;
    bool playing = false;
    // Every frame given, played or dropped, in order.
    std::vector<std::int16_t> given;
    std::vector<Block> played;

  private:
    double clockRate_;
    double nextStart_ = 0.0;
};
