#include "video/TemporaryFile.h"

#include "video/ExportMessage.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <ostream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Names already taken, by an earlier export that was killed or by someone else, tried past
// before giving up.
constexpr int kNamesTried = 100;

std::filesystem::path scratchName(const std::filesystem::path& folder, const std::string& stem,
                                  const std::string& extension, int attempt) {
    return folder /
           (stem + "-" + std::to_string(::getpid()) + "-" + std::to_string(attempt) + extension);
}

// $TMPDIR when it names a folder absolutely, else /tmp.
std::filesystem::path temporaryFolder() {
    const char* tmpdir = std::getenv("TMPDIR");
    if (tmpdir != nullptr && tmpdir[0] == '/') {
        return tmpdir;
    }
    return "/tmp";
}

} // namespace

std::optional<TemporaryFile>
TemporaryFile::create(const std::string& stem, const std::string& extension, std::ostream& errors) {
    const std::filesystem::path where = temporaryFolder();
    int error = EEXIST;
    for (int attempt = 0; attempt < kNamesTried && error == EEXIST; ++attempt) {
        std::filesystem::path path = scratchName(where, stem, extension, attempt);
        // O_EXCL fails on any name that exists, a symbolic link even when dangling; O_NOFOLLOW
        // says so twice for systems where that is not so.
        const int file = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                S_IRUSR | S_IWUSR);
        if (file >= 0) {
            return TemporaryFile(std::move(path), FileDescriptor(file));
        }
        error = errno;
    }
    errors << kCannotExport << "cannot make a scratch file in " << where << ": "
           << std::strerror(error) << std::endl;
    return std::nullopt;
}

TemporaryFile::~TemporaryFile() {
    file_.close();
    if (!path_.empty()) {
        ::unlink(path_.c_str());
    }
}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : path_(std::move(other.path_)), file_(std::move(other.file_)) {
    other.path_.clear();
}

bool TemporaryFile::append(const void* bytes, std::size_t size) {
    const auto* next = static_cast<const char*>(bytes);
    while (size > 0) {
        const ssize_t written = ::write(file_.get(), next, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = ENOSPC;
            }
            return false;
        }
        next += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}
