#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A WAV file's samples in the mix's format (44.1 kHz, 16-bit stereo, left then right), or none
// after putting into `reason` why it could not be read. The desktop reads through SDL, as
// SDL_mixer does; a build without SDL's audio (the browser) reads the files the game ships itself.
std::optional<std::vector<std::int16_t>> readInMixFormat(const std::string& path,
                                                         std::string& reason);
