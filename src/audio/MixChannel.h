#pragma once

#include <cstdint>
#include <span>

// One channel of a mix as SDL_mixer keeps one: a sound, the frame of it reached, the integer
// volume out of 128 and a linear fade. Frames are pairs of 16-bit samples, left then right.
class MixChannel {
  public:
    static constexpr int kMaxVolume = 128;

    // Plays `stereo` from its first frame at `volume`. A fade-in takes `fadeFrames` to rise from
    // silence to `volume`; none when it is 0.
    void start(std::span<const std::int16_t> stereo, bool looping, int volume,
               std::int64_t fadeFrames);
    // Ramps down from the volume reached over `fadeFrames`, then stops. SDL_mixer refuses this
    // (returns false) when the channel is silent, idle or already fading out.
    bool fadeOut(std::int64_t fadeFrames);
    void halt();

    bool playing() const { return !sound_.empty(); }
    bool fadingOut() const { return fade_ == Fade::Out; }
    int currentVolume() const;

    // Adds this channel's next frames to `stereo`, clamping each sum to 16 bits as
    // SDL_MixAudioFormat does, and moves on by as many frames.
    void mixInto(std::span<std::int16_t> stereo);

  private:
    enum class Fade { None, In, Out };

    // The volume for the coming frame; ends a fade that has run its length.
    int stepFade();

    std::span<const std::int16_t> sound_;
    std::size_t next_ = 0;
    bool looping_ = false;
    int volume_ = 0;
    Fade fade_ = Fade::None;
    // The volume a fade-in rises to, or a fade-out falls from.
    int fadeLevel_ = 0;
    std::int64_t fadeFrames_ = 0;
    std::int64_t fadedFrames_ = 0;
};
