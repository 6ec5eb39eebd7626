#include "video/EncoderProgram.h"

#include "video/ExportMessage.h"

#include <cstdlib>
#include <ostream>
#include <string_view>
#include <unistd.h>

namespace {

constexpr const char* kOverride = "CHRONOCELL_FFMPEG";
constexpr const char* kDefaultName = "ffmpeg";
// What a shell searches when PATH is unset.
constexpr const char* kDefaultPath = "/usr/local/bin:/usr/bin:/bin";

bool runnable(const std::filesystem::path& path) {
    std::error_code error;
    return !std::filesystem::is_directory(path, error) && ::access(path.c_str(), X_OK) == 0;
}

// As execvp looks for a name without a slash: each folder of PATH in turn, an empty entry
// meaning the current folder.
std::optional<std::filesystem::path> lookUp(const std::string& name) {
    if (name.find('/') != std::string::npos) {
        return runnable(name) ? std::optional<std::filesystem::path>(name) : std::nullopt;
    }
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : kDefaultPath;
    while (true) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        const std::filesystem::path candidate =
            std::filesystem::path(folder.empty() ? "." : std::string(folder)) / name;
        if (runnable(candidate)) {
            return candidate;
        }
        if (colon == std::string_view::npos) {
            return std::nullopt;
        }
        folders.remove_prefix(colon + 1);
    }
}

} // namespace

namespace encoderProgram {

std::optional<std::filesystem::path> find(std::ostream& errors) {
    const char* chosen = std::getenv(kOverride);
    if (chosen != nullptr && *chosen != '\0') {
        auto program = lookUp(chosen);
        if (!program) {
            errors << kCannotExport << "the encoder " << kOverride << " names (" << chosen
                   << ") was not found or cannot run\n";
        }
        return program;
    }
    auto program = lookUp(kDefaultName);
    if (!program) {
        errors << kCannotExport << "ffmpeg was not found (install Debian's ffmpeg package)\n";
    }
    return program;
}

} // namespace encoderProgram
