#pragma once

#include <atomic>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

struct Mix_Chunk;

// SDL_mixer on the default audio device. The mixing runs on SDL's audio thread; the frame loop
// only starts and stops sounds. A sound that failed to load is a handle that plays nothing.
class AudioMixer {
  public:
    using Sound = int;
    static constexpr Sound kNoSound = -1;

    // The mixer at `volume` (0 to 1), or none after one line on `errors` saying why no device
    // opened; the game then plays silently.
    static std::unique_ptr<AudioMixer> open(float volume, std::ostream& errors);
    ~AudioMixer();
    AudioMixer(const AudioMixer&) = delete;
    AudioMixer& operator=(const AudioMixer&) = delete;

    // A 16-bit WAV file, or kNoSound after one line on `errors` naming the file.
    Sound load(const std::string& path, std::ostream& errors);
    void play(Sound sound);
    // One sound at a time loops on a channel of its own, faded in and out.
    void loop(Sound sound);
    void stopLoop();
    void toggleMute();

  private:
    explicit AudioMixer(float volume);
    static void silenceWhenMuted(void* mixer, std::uint8_t* stream, int length);

    std::vector<Mix_Chunk*> chunks_;
    // Read on SDL's audio thread after each mix.
    std::atomic<bool> muted_ = false;
};
