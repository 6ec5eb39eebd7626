#include "platform/ProgramSearch.h"

#include <cstdlib>

namespace programSearch {

// What a POSIX shell searches when PATH is unset; Windows always has a PATH.
const ProgramSearchRules kPosixRules{':', "/", "", "/usr/local/bin:/usr/bin:/bin"};
const ProgramSearchRules kWindowsRules{';', "/\\", ".exe", ""};

namespace {

std::string withSuffix(const std::string& name, const ProgramSearchRules& rules) {
    const std::size_t base = name.find_last_of(rules.folderSeparators);
    const bool hasExtension =
        name.find('.', base == std::string::npos ? 0 : base + 1) != std::string::npos;
    return hasExtension ? name : name + std::string(rules.programSuffix);
}

} // namespace

std::optional<std::filesystem::path>
find(const std::string& name, const char* pathVariable, const ProgramSearchRules& rules,
     const std::function<bool(const std::filesystem::path&)>& isRunnable) {
    const std::string program = withSuffix(name, rules);
    if (name.find_first_of(rules.folderSeparators) != std::string::npos) {
        return isRunnable(program) ? std::optional<std::filesystem::path>(program) : std::nullopt;
    }
    std::string_view folders = pathVariable != nullptr ? pathVariable : rules.defaultPath;
    while (true) {
        const std::size_t separator = folders.find(rules.listSeparator);
        const std::string_view folder = folders.substr(0, separator);
        const std::filesystem::path candidate =
            std::filesystem::path(folder.empty() ? "." : std::string(folder)) / program;
        if (isRunnable(candidate)) {
            return candidate;
        }
        if (separator == std::string_view::npos) {
            return std::nullopt;
        }
        folders.remove_prefix(separator + 1);
    }
}

std::optional<std::filesystem::path> find(const std::string& name) {
    return find(name, std::getenv("PATH"), systemRules(), runnable);
}

} // namespace programSearch
