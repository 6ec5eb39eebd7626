#include "platform/Files.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>

namespace platform {

FileDescriptor createNewFile(const std::filesystem::path& path, Readers readers, int& error) {
    const mode_t mode = readers == Readers::OwnerOnly
                            ? S_IRUSR | S_IWUSR
                            : S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;
    // O_EXCL fails on any name that exists, a symbolic link even when dangling; O_NOFOLLOW
    // says so twice for systems where that is not so.
    const int file = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    error = file >= 0 ? 0 : errno;
    return FileDescriptor(file);
}

std::filesystem::path scratchFolder() {
    const char* tmpdir = std::getenv("TMPDIR");
    if (tmpdir != nullptr && tmpdir[0] == '/') {
        return tmpdir;
    }
    return "/tmp";
}

std::FILE* openFile(const std::filesystem::path& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

} // namespace platform
