#pragma once

#include <iosfwd>
#include <string>

// Where the game's sounds go: the audio device while playing, and wherever else a mix is wanted.
// A sound that failed to load is a handle that plays nothing, so callers never check handles.
class SoundOutput {
  public:
    using Sound = int;
    static constexpr Sound kNoSound = -1;

    virtual ~SoundOutput() = default;
    // A 16-bit WAV file, or kNoSound after one line on `errors` naming the file.
    virtual Sound load(const std::string& path, std::ostream& errors) = 0;
    virtual void play(Sound sound) = 0;
    // One sound at a time loops on a channel of its own, faded in and out. Stopping it leaves
    // every other sound playing to its end.
    virtual void loop(Sound sound) = 0;
    virtual void stopLoop() = 0;
    // An output starts unmuted.
    virtual void toggleMute() = 0;
};
