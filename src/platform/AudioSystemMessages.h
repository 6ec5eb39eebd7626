#pragma once

namespace platform {

// Keeps the system's sound library from writing lines of its own to standard error when the
// machine has no sound card: the game's one line says all the player needs.
void quietenAudioSystemMessages();

} // namespace platform
