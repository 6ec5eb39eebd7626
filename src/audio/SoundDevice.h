#pragma once

#include "audio/SoundOutput.h"

#include <iosfwd>
#include <memory>

// The machine's sound output at `volume` (0 to 1): SDL_mixer's device on the desktop, Web Audio
// in a browser; the build links the one of its platform. None after one line on `errors` saying
// why no output opened; the game then plays silently.
std::unique_ptr<SoundOutput> openSoundDevice(float volume, std::ostream& errors);
