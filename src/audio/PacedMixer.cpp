#include "audio/PacedMixer.h"

PacedMixer::PacedMixer(float volume, MixSink& sink, double startSeconds)
    : mixer_(volume), pacer_(startSeconds), sink_(sink) {}

PacedMixer::Sound PacedMixer::load(const std::string& path, std::ostream& errors) {
    return mixer_.load(path, errors);
}

// The mixer's time is never set: what is asked of it lands at the end of what it has rendered,
// the first frame of the next block.
void PacedMixer::play(Sound sound) {
    mixer_.play(sound);
}

void PacedMixer::loop(Sound sound) {
    mixer_.loop(sound);
}

void PacedMixer::stopLoop() {
    mixer_.stopLoop();
}

void PacedMixer::toggleMute() {
    mixer_.toggleMute();
}

void PacedMixer::pump(double wallSeconds) {
    const std::int64_t due =
        pacer_.framesDue(mixer_.renderedFrames(), wallSeconds, sink_.queuedSeconds());
    if (due == 0) {
        return;
    }
    block_.resize(static_cast<std::size_t>(due) * OfflineMixer::kSamplesPerFrame);
    mixer_.render(block_);
    sink_.queue(block_);
}
