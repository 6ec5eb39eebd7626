#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// WAV files read without SDL, for the builds that have none of its audio (the browser). It reads
// what the game ships, 16-bit PCM in mono or stereo at the mix's rate of 44.1 kHz, into the mix's
// format as SDL's converter gives it on the desktop, to within a step of a mono sample. Any other
// file is refused with a reason saying what was expected, rather than played at the wrong pitch or
// as noise.
std::optional<std::vector<std::int16_t>> decodePcmWav(std::span<const std::uint8_t> file,
                                                      std::string& reason);
std::optional<std::vector<std::int16_t>> readPcmWav(const std::string& path, std::string& reason);
