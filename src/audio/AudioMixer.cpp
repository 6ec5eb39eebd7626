#include "audio/AudioMixer.h"

#include "platform/SoundSystem.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <cstring>
#include <ostream>

namespace {

constexpr int kSampleRate = 44100;
constexpr int kStereo = 2;
// About 23 ms of sound per buffer: short enough that a jump is heard with its frame.
constexpr int kBufferFrames = 1024;
constexpr int kChannels = 16;
constexpr int kLoopChannel = 0;
constexpr int kLoopFadeMilliseconds = 600;
constexpr int kPlayOnAnyChannel = -1;
constexpr int kAllChannels = -1;
constexpr int kLoopForever = -1;

} // namespace

std::unique_ptr<AudioMixer> AudioMixer::open(float volume, std::ostream& errors) {
    platform::quietenSoundLibrary();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 ||
        Mix_OpenAudio(kSampleRate, AUDIO_S16SYS, kStereo, kBufferFrames) != 0) {
        errors << "Sound is off: no audio device could be opened (" << SDL_GetError() << ")"
               << std::endl;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    // By default SDL plays the readable part of a cut-off file; a damaged file is refused instead.
    SDL_SetHint(SDL_HINT_WAVE_TRUNCATION, "strict");
    Mix_AllocateChannels(kChannels);
    Mix_ReserveChannels(kLoopChannel + 1);
    return std::unique_ptr<AudioMixer>(new AudioMixer(volume));
}

AudioMixer::AudioMixer(float volume) {
    Mix_Volume(kAllChannels, static_cast<int>(std::clamp(volume, 0.0f, 1.0f) * MIX_MAX_VOLUME));
    Mix_SetPostMix(silenceWhenMuted, this);
}

AudioMixer::~AudioMixer() {
    Mix_SetPostMix(nullptr, nullptr);
    Mix_HaltChannel(kAllChannels);
    for (Mix_Chunk* chunk : chunks_) {
        Mix_FreeChunk(chunk);
    }
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

AudioMixer::Sound AudioMixer::load(const std::string& path, std::ostream& errors) {
    SDL_ClearError();
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    if (chunk == nullptr) {
        // SDL_mixer built with its WAV decoder alone (the Windows build) refuses a file of no
        // format it knows without a word of its own.
        const char* reason = Mix_GetError();
        errors << "ERROR: Failed to load sound '" << path
               << "': " << (*reason != '\0' ? reason : "not a sound format SDL_mixer reads")
               << std::endl;
        return kNoSound;
    }
    chunks_.push_back(chunk);
    return static_cast<Sound>(chunks_.size() - 1);
}

void AudioMixer::play(Sound sound) {
    if (sound != kNoSound) {
        Mix_PlayChannel(kPlayOnAnyChannel, chunks_[sound], 0);
    }
}

void AudioMixer::loop(Sound sound) {
    if (sound != kNoSound) {
        Mix_FadeInChannel(kLoopChannel, chunks_[sound], kLoopForever, kLoopFadeMilliseconds);
    }
}

// SDL_mixer fades out only from a volume it has reached: a loop stopped before its fade-in has
// mixed a buffer (a game left in the pass that started it) would go on for ever. Still silent,
// it halts instead; a loop already fading out is left to finish.
void AudioMixer::stopLoop() {
    if (Mix_FadeOutChannel(kLoopChannel, kLoopFadeMilliseconds) == 0 &&
        Mix_FadingChannel(kLoopChannel) != MIX_FADING_OUT) {
        Mix_HaltChannel(kLoopChannel);
    }
}

void AudioMixer::toggleMute() {
    muted_ = !muted_;
}

// Muting silences the finished mix rather than the channels' volumes, which a fading channel
// keeps overwriting until its fade ends.
void AudioMixer::silenceWhenMuted(void* mixer, std::uint8_t* stream, int length) {
    if (static_cast<AudioMixer*>(mixer)->muted_) {
        std::memset(stream, 0, static_cast<std::size_t>(length));
    }
}
