#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// How a system finds a program by name, as its shell does.
struct ProgramSearchRules {
    // Between the folders of PATH.
    char listSeparator;
    // A name holding one of these is a path, not looked up.
    std::string_view folderSeparators;
    // Added to a name without an extension (".exe" on Windows).
    std::string_view programSuffix;
    // Searched when PATH is unset.
    std::string_view defaultPath;
};

namespace programSearch {

extern const ProgramSearchRules kPosixRules;
extern const ProgramSearchRules kWindowsRules;

// The rules of the system the game runs on, and whether a file there can be started.
const ProgramSearchRules& systemRules();
bool runnable(const std::filesystem::path& path);

// `name` as a path when it names a folder, otherwise looked up in each folder of `pathVariable`
// (null: the rules' default) in turn, an empty entry meaning the current folder.
std::optional<std::filesystem::path>
find(const std::string& name, const char* pathVariable, const ProgramSearchRules& rules,
     const std::function<bool(const std::filesystem::path&)>& isRunnable);

// The same with this system's PATH and rules.
std::optional<std::filesystem::path> find(const std::string& name);

// How a player of this system gets the program `name` when it is not found.
std::string installAdvice(const std::string& name);

} // namespace programSearch
