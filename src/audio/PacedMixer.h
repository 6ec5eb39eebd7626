#pragma once

#include "audio/MixPacer.h"
#include "audio/MixSink.h"
#include "audio/OfflineMixer.h"

#include <cstdint>
#include <vector>

// The project's own mixer played in real time by a player that takes the mix in blocks and
// cannot call back for more (a page's Web Audio): each pump renders what MixPacer says is due
// and queues it. A sound started between two pumps is in the next block, from its first frame.
class PacedMixer : public SoundOutput {
  public:
    // `startSeconds`: the wall clock now, in the clock that pumps will be given.
    PacedMixer(float volume, MixSink& sink, double startSeconds);
    PacedMixer(const PacedMixer&) = delete;
    PacedMixer& operator=(const PacedMixer&) = delete;

    Sound load(const std::string& path, std::ostream& errors) override;
    void play(Sound sound) override;
    void loop(Sound sound) override;
    void stopLoop() override;
    void toggleMute() override;

    void pump(double wallSeconds);

  private:
    OfflineMixer mixer_;
    MixPacer pacer_;
    MixSink& sink_;
    // Kept between pumps: once it has grown to the largest block, a pump allocates nothing.
    std::vector<std::int16_t> block_;
};
