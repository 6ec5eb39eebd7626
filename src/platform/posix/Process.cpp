#include "platform/Process.h"

#include <system_error>
#include <unistd.h>

namespace platform {

int processId() {
    return static_cast<int>(::getpid());
}

std::filesystem::path executablePath() {
    std::error_code error;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable;
}

} // namespace platform
