#pragma once

namespace platform {

// Keeps the system's sound library from writing its own lines to standard error when a machine
// has no sound card (ALSA's does, a screenful); the game's one line says all the player needs.
// Called before SDL opens audio. Nothing to do where the library is quiet.
void quietenSoundLibrary();

} // namespace platform
