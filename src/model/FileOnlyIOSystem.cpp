#include "model/FileOnlyIOSystem.h"

#include <filesystem>

namespace {

bool isFolder(const char* file) {
    std::error_code error;
    return file != nullptr && std::filesystem::is_directory(file, error);
}

} // namespace

bool FileOnlyIOSystem::Exists(const char* file) const {
    return !isFolder(file) && DefaultIOSystem::Exists(file);
}

Assimp::IOStream* FileOnlyIOSystem::Open(const char* file, const char* mode) {
    if (isFolder(file)) {
        return nullptr;
    }
    return DefaultIOSystem::Open(file, mode);
}
