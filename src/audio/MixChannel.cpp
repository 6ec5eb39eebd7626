#include "audio/MixChannel.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int kSides = 2;

// SDL_MixAudioFormat scales with integer arithmetic, truncating toward zero, and clamps each
// channel's sum as it adds it, so a loud pair can saturate before a third channel pulls it back.
std::int16_t addScaled(std::int16_t mixed, std::int16_t sample, int volume) {
    const int scaled = sample * volume / MixChannel::kMaxVolume;
    return static_cast<std::int16_t>(std::clamp(mixed + scaled,
                                                int{std::numeric_limits<std::int16_t>::min()},
                                                int{std::numeric_limits<std::int16_t>::max()}));
}

} // namespace

void MixChannel::start(std::span<const std::int16_t> stereo, bool looping, int volume,
                       std::int64_t fadeFrames) {
    // SDL_mixer, asked to fade a sound in while a fade is under way, ramps only up to the volume
    // that fade has reached and jumps to the full volume at the end of the ramp. The game sounds
    // so when a game restarts as its meadow fades, and so must its sound track.
    const bool fading = playing() && fade_ != Fade::None;
    fadeLevel_ = fading ? currentVolume() : volume;
    sound_ = stereo;
    next_ = 0;
    looping_ = looping;
    volume_ = volume;
    fade_ = fadeFrames > 0 ? Fade::In : Fade::None;
    fadeFrames_ = fadeFrames;
    fadedFrames_ = 0;
}

bool MixChannel::fadeOut(std::int64_t fadeFrames) {
    if (!playing() || fade_ == Fade::Out || currentVolume() == 0) {
        return false;
    }
    fadeLevel_ = currentVolume();
    fade_ = Fade::Out;
    fadeFrames_ = fadeFrames;
    fadedFrames_ = 0;
    return true;
}

void MixChannel::halt() {
    sound_ = {};
    fade_ = Fade::None;
}

int MixChannel::currentVolume() const {
    switch (fade_) {
    case Fade::In:
        return static_cast<int>(fadeLevel_ * fadedFrames_ / fadeFrames_);
    case Fade::Out:
        return static_cast<int>(fadeLevel_ * (fadeFrames_ - fadedFrames_) / fadeFrames_);
    case Fade::None:
        break;
    }
    return volume_;
}

int MixChannel::stepFade() {
    if (fade_ == Fade::None) {
        return volume_;
    }
    if (fadedFrames_ >= fadeFrames_) {
        if (fade_ == Fade::Out) {
            halt();
            return 0;
        }
        fade_ = Fade::None;
        return volume_;
    }
    const int volume = currentVolume();
    ++fadedFrames_;
    return volume;
}

void MixChannel::mixInto(std::span<std::int16_t> stereo) {
    for (std::size_t side = 0; side + 1 < stereo.size() && playing(); side += kSides) {
        const int volume = stepFade();
        if (!playing()) {
            return;
        }
        stereo[side] = addScaled(stereo[side], sound_[next_], volume);
        stereo[side + 1] = addScaled(stereo[side + 1], sound_[next_ + 1], volume);
        next_ += kSides;
        if (next_ >= sound_.size()) {
            if (looping_) {
                next_ = 0;
            } else {
                halt();
            }
        }
    }
}
