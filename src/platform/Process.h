#pragma once

#include <filesystem>

namespace platform {

// This process's number, which keeps the scratch files of two games apart.
int processId();

// The running program's own file, or an empty path when the system does not say.
std::filesystem::path executablePath();

} // namespace platform
