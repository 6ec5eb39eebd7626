#include "audio/OfflineMixer.h"

#include "audio/WavReading.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <ostream>

namespace {

constexpr int kLoopFadeMilliseconds = 600;
constexpr std::int64_t kLoopFadeFrames =
    std::int64_t{kLoopFadeMilliseconds} * OfflineMixer::kFramesPerSecond / 1000;

} // namespace

OfflineMixer::OfflineMixer(float volume)
    : volume_(static_cast<int>(std::clamp(volume, 0.0f, 1.0f) * MixChannel::kMaxVolume)) {}

OfflineMixer::Sound OfflineMixer::load(const std::string& path, std::ostream& errors) {
    std::string reason;
    std::optional<std::vector<std::int16_t>> stereo = readInMixFormat(path, reason);
    if (!stereo) {
        errors << "ERROR: Failed to load sound '" << path << "': " << reason << std::endl;
        return kNoSound;
    }
    sounds_.push_back(std::move(*stereo));
    return static_cast<Sound>(sounds_.size() - 1);
}

void OfflineMixer::play(Sound sound) {
    request(Action::Play, sound);
}

void OfflineMixer::loop(Sound sound) {
    request(Action::Loop, sound);
}

void OfflineMixer::stopLoop() {
    request(Action::StopLoop, kNoSound);
}

void OfflineMixer::toggleMute() {
    request(Action::ToggleMute, kNoSound);
}

std::int64_t OfflineMixer::frameAt(double seconds) {
    return seconds > 0.0 ? std::llround(seconds * kFramesPerSecond) : 0;
}

void OfflineMixer::setTime(double seconds) {
    now_ = std::max(now_, frameAt(seconds));
}

void OfflineMixer::render(std::span<std::int16_t> stereo) {
    std::fill(stereo.begin(), stereo.end(), std::int16_t{0});
    const auto frames = static_cast<std::int64_t>(stereo.size() / kSamplesPerFrame);
    const std::int64_t end = rendered_ + frames;
    std::size_t mixed = 0;
    while (!requests_.empty() && requests_.front().frame < end) {
        const auto upTo =
            static_cast<std::size_t>(requests_.front().frame - rendered_) * kSamplesPerFrame;
        mixFrames(stereo.subspan(mixed, upTo - mixed));
        mixed = upTo;
        carryOut(requests_.front());
        requests_.pop_front();
    }
    mixFrames(stereo.subspan(mixed, static_cast<std::size_t>(frames) * kSamplesPerFrame - mixed));
    rendered_ = end;
}

std::vector<std::int16_t> OfflineMixer::mixUntil(double seconds) {
    const std::int64_t frames = std::max<std::int64_t>(frameAt(seconds) - rendered_, 0);
    std::vector<std::int16_t> stereo(static_cast<std::size_t>(frames) * kSamplesPerFrame);
    render(stereo);
    return stereo;
}

void OfflineMixer::request(Action action, Sound sound) {
    const bool needsSound = action == Action::Play || action == Action::Loop;
    if (needsSound && !isSound(sound)) {
        return;
    }
    // Rendering moves the time on too: what is asked after a render cannot land in its past.
    now_ = std::max(now_, rendered_);
    requests_.push_back({now_, action, sound});
}

void OfflineMixer::carryOut(const Request& request) {
    MixChannel& loopChannel = channels_[kLoopChannel];
    switch (request.action) {
    case Action::Play:
        startEffect(request.sound);
        break;
    case Action::Loop:
        loopChannel.start(sounds_[static_cast<std::size_t>(request.sound)], true, volume_,
                          kLoopFadeFrames);
        break;
    case Action::StopLoop:
        // As AudioMixer stops it: a loop not yet heard would never fade, so it halts at once;
        // one already fading out is left to finish.
        if (!loopChannel.fadeOut(kLoopFadeFrames) && !loopChannel.fadingOut()) {
            loopChannel.halt();
        }
        break;
    case Action::ToggleMute:
        muted_ = !muted_;
        break;
    }
}

// The lowest free channel after the loop's, as SDL_mixer picks one; with none free the sound is
// dropped, as SDL_mixer drops it.
void OfflineMixer::startEffect(Sound sound) {
    const auto free = std::find_if(channels_.begin() + kLoopChannel + 1, channels_.end(),
                                   [](const MixChannel& channel) { return !channel.playing(); });
    if (free != channels_.end()) {
        free->start(sounds_[static_cast<std::size_t>(sound)], false, volume_, 0);
    }
}

// The channels are added in SDL_mixer's order, loop first, because each sum is clamped as it
// is made. Muting silences the finished mix, as AudioMixer does, while the sounds go on.
void OfflineMixer::mixFrames(std::span<std::int16_t> stereo) {
    for (MixChannel& channel : channels_) {
        channel.mixInto(stereo);
    }
    if (muted_) {
        std::fill(stereo.begin(), stereo.end(), std::int16_t{0});
    }
}

bool OfflineMixer::isSound(Sound sound) const {
    return sound >= 0 && static_cast<std::size_t>(sound) < sounds_.size();
}
