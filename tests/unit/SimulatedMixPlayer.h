#pragma once

#include "audio/MixSink.h"

#include <cstdint>
#include <optional>
#include <vector>

// A browser's player as audio.js drives one: blocks played back to back on a clock of its own,
// which may run a little fast or slow against the wall clock, a queue that ran dry starting again
// a little after now, and whatever it is given while it is not playing dropped.
class SimulatedMixPlayer : public MixSink {
  public:
    static constexpr double kRestartDelaySeconds = 0.02;
    static constexpr double kFramesPerSecond = 44100.0;

    struct Block {
        double start;
        std::int64_t frames;
    };

    // `clockRate`: the player's seconds per wall second.
    explicit SimulatedMixPlayer(double clockRate = 1.0) : clockRate_(clockRate) {}

    void setWall(double seconds) { wall_ = seconds; }
    void setPlaying(bool playing) { playing_ = playing; }
    double now() const { return wall_ * clockRate_; }

    std::optional<double> queuedSeconds() override {
        if (!playing_) {
            return std::nullopt;
        }
        return nextStart_ > now() ? nextStart_ - now() : 0.0;
    }

    void queue(std::span<const std::int16_t> stereo) override {
        given.insert(given.end(), stereo.begin(), stereo.end());
        const auto frames = static_cast<std::int64_t>(stereo.size() / 2);
        if (!playing_) {
            nextStart_ = 0.0;
            return;
        }
        const double start = nextStart_ > now() ? nextStart_ : now() + kRestartDelaySeconds;
        played.push_back({start, frames});
        playedFirstFrames.push_back(static_cast<std::int64_t>(given.size() / 2) - frames);
        nextStart_ = start + static_cast<double>(frames) / kFramesPerSecond;
    }

    // Every frame given, played or dropped, in order.
    std::vector<std::int16_t> given;
    std::vector<Block> played;
    // For each block played, where it begins in `given`, in frames.
    std::vector<std::int64_t> playedFirstFrames;

  private:
    double clockRate_;
    double wall_ = 0.0;
    bool playing_ = false;
    double nextStart_ = 0.0;
};
