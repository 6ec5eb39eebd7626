#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>

// The encoder to start: Debian's ffmpeg found on PATH, or the program CHRONOCELL_FFMPEG names
// (a path, or a name looked up on PATH), which lets tests stand another program in.
namespace encoderProgram {

// The program's path, or none after one line on `errors` saying it was not found.
std::optional<std::filesystem::path> find(std::ostream& errors);

} // namespace encoderProgram
