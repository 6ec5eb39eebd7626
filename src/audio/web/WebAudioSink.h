#pragma once

#include "audio/MixSink.h"

// The page's Web Audio, through the JavaScript library audio.js: blocks of the mix become
// buffers played back to back on one AudioContext. Only the game calls across, never JavaScript
// into the game, so that the sound goes on while the game sleeps through a freeze.
class WebAudioSink : public MixSink {
  public:
    // Whether the browser has Web Audio at all (node, for one, has not).
    static bool available();

    std::optional<double> queuedSeconds() override;
    void queue(std::span<const std::int16_t> stereo) override;
};
