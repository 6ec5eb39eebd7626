#include "platform/ProgramSearch.h"

#include <system_error>

namespace programSearch {

const ProgramSearchRules& systemRules() {
    return kWindowsRules;
}

// Windows has no execute permission to ask about: a file with the program's name will do.
bool runnable(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::string installAdvice(const std::string& name) {
    return "put " + name + ".exe in a folder on PATH";
}

} // namespace programSearch
