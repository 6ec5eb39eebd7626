#include "render/AssetPath.h"

#include <algorithm>

namespace {
std::filesystem::path& chosenRoot() {
    static std::filesystem::path root;
    return root;
}
} // namespace

std::string assetPath(const std::string& contentPath) {
    std::string path = contentPath;
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    std::replace(path.begin(), path.end(), '\\', separator);
    // An empty root leaves the path relative, as written.
    return (chosenRoot() / path).string();
}

void setContentRoot(const std::filesystem::path& root) {
    chosenRoot() = root;
}

const std::filesystem::path& contentRoot() {
    return chosenRoot();
}

std::optional<std::string> missingFileProblem(const std::string& fileName) {
    std::error_code error;
    if (std::filesystem::is_directory(fileName, error)) {
        return "a folder, not a file";
    }
    if (!std::filesystem::exists(fileName, error)) {
        return "no such file";
    }
    return std::nullopt;
}
