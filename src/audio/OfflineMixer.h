#pragma once

#include "audio/MixChannel.h"
#include "audio/SoundOutput.h"

#include <array>
#include <cstdint>
#include <deque>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

// The game's sounds mixed into memory, for a sound track made without an audio device: what
// AudioMixer would play, in its format (44.1 kHz, 16-bit stereo, left then right), with its
// volume scaling, 16 channels (the loop's own and 15 for the rest) and 600 ms loop fades.
//
// The caller keeps the time. Whatever it asks of the mixer happens at the frame of the last
// time set; the mix is then rendered in order, chunk by chunk, into the caller's buffers. Only
// what is asked and not yet rendered is held, so an hour costs no more memory than a minute.
//
// Where the device's mixer steps a fade once per buffer it mixes, this one steps it every frame:
// the same integer volumes, reached at the moments the ramp reaches them. So a loop stopped while
// its fade-in is still at volume 0 (its first 5 ms) halts at once, where the device halts one
// stopped before its first buffer (23 ms) is mixed.
class OfflineMixer : public SoundOutput {
  public:
    static constexpr int kFramesPerSecond = 44100;
    static constexpr int kSamplesPerFrame = 2;

    // The mixer at `volume` (0 to 1). Nothing of SDL's audio is initialised or opened.
    explicit OfflineMixer(float volume);
    // A copy's channels would go on playing the original's sounds.
    OfflineMixer(const OfflineMixer&) = delete;
    OfflineMixer& operator=(const OfflineMixer&) = delete;

    Sound load(const std::string& path, std::ostream& errors) override;
    void play(Sound sound) override;
    void loop(Sound sound) override;
    void stopLoop() override;
    void toggleMute() override;

    // The frame a time falls in, rounded to the nearest; a negative time is the first frame.
    static std::int64_t frameAt(double seconds);
    // Moves the time to `seconds`; what is asked of the mixer from now on happens at its frame.
    // The time never runs back: a time before the last one set, or before the end of what has
    // been rendered, leaves it where it is.
    void setTime(double seconds);
    std::int64_t renderedFrames() const { return rendered_; }
    // Mixes the next `stereo.size() / 2` frames into `stereo`, following on from the last render.
    void render(std::span<std::int16_t> stereo);
    // The mix from the end of the last render up to the frame of `seconds`; none when that has
    // been rendered already. It is held whole, about 10 MB a minute: a long recording is better
    // rendered chunk by chunk.
    std::vector<std::int16_t> mixUntil(double seconds);

  private:
    enum class Action { Play, Loop, StopLoop, ToggleMute };
    struct Request {
        std::int64_t frame;
        Action action;
        Sound sound;
    };
    static constexpr std::size_t kChannels = 16;
    static constexpr std::size_t kLoopChannel = 0;

    void request(Action action, Sound sound);
    void carryOut(const Request& request);
    void startEffect(Sound sound);
    void mixFrames(std::span<std::int16_t> stereo);
    bool isSound(Sound sound) const;

    int volume_;
    // Each loaded sound as 16-bit stereo frames. A channel holds a view of one; moving the inner
    // vectors when this one grows keeps their storage where it is.
    std::vector<std::vector<std::int16_t>> sounds_;
    std::array<MixChannel, kChannels> channels_;
    // Asked for and not yet rendered, in the order asked; their frames never decrease.
    std::deque<Request> requests_;
    std::int64_t now_ = 0;
    std::int64_t rendered_ = 0;
    bool muted_ = false;
};
