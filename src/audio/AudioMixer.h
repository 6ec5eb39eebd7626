#pragma once

#include "audio/SoundOutput.h"

#include <atomic>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

struct Mix_Chunk;

// SDL_mixer on the default audio device. The mixing runs on SDL's audio thread; the frame loop
// only starts and stops sounds.
class AudioMixer : public SoundOutput {
  public:
    // The mixer at `volume` (0 to 1), or none after one line on `errors` saying why no device
    // opened; the game then plays silently.
    static std::unique_ptr<AudioMixer> open(float volume, std::ostream& errors);
    ~AudioMixer() override;
    AudioMixer(const AudioMixer&) = delete;
    AudioMixer& operator=(const AudioMixer&) = delete;

    Sound load(const std::string& path, std::ostream& errors) override;
    void play(Sound sound) override;
    void loop(Sound sound) override;
    void stopLoop() override;
    void toggleMute() override;

  private:
    explicit AudioMixer(float volume);
    static void silenceWhenMuted(void* mixer, std::uint8_t* stream, int length);

    std::vector<Mix_Chunk*> chunks_;
    // Read on SDL's audio thread after each mix.
    std::atomic<bool> muted_ = false;
};
