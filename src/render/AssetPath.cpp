#include "render/AssetPath.h"

#include <algorithm>
#include <filesystem>

std::string assetPath(const std::string& contentPath) {
    std::string path = contentPath;
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    std::replace(path.begin(), path.end(), '\\', separator);
    return path;
}
