#pragma once

#include <filesystem>
#include <string>
#include <unistd.h>

// A file in the temporary folder that is this process's alone: the test programs of the normal
// and the sanitizer build run side by side.
inline std::filesystem::path scratchFile(const std::string& name) {
    return std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + "-" + name);
}
