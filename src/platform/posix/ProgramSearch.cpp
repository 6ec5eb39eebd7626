#include "platform/ProgramSearch.h"

#include <system_error>
#include <unistd.h>

namespace programSearch {

const ProgramSearchRules& systemRules() {
    return kPosixRules;
}

bool runnable(const std::filesystem::path& path) {
    std::error_code error;
    return !std::filesystem::is_directory(path, error) && ::access(path.c_str(), X_OK) == 0;
}

std::string installAdvice(const std::string& name) {
    return "install Debian's " + name + " package";
}

} // namespace programSearch
