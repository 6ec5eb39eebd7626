#include "video/TemporaryFile.h"

#include "video/ExportMessage.h"

#include "platform/Files.h"
#include "platform/Process.h"

#include <cerrno>
#include <cstring>
#include <ostream>
#include <system_error>

namespace {

// Names already taken, by an earlier export that was killed or by someone else, tried past
// before giving up.
constexpr int kNamesTried = 100;

std::filesystem::path scratchName(const std::filesystem::path& folder, const std::string& stem,
                                  const std::string& extension, int attempt) {
    return folder / (stem + "-" + std::to_string(platform::processId()) + "-" +
                     std::to_string(attempt) + extension);
}

} // namespace

std::optional<TemporaryFile>
TemporaryFile::create(const std::string& stem, const std::string& extension, std::ostream& errors) {
    const std::filesystem::path where = platform::scratchFolder();
    int error = EEXIST;
    for (int attempt = 0; attempt < kNamesTried && error == EEXIST; ++attempt) {
        std::filesystem::path path = scratchName(where, stem, extension, attempt);
        FileDescriptor file = platform::createNewFile(path, platform::Readers::OwnerOnly, error);
        if (file.isOpen()) {
            return TemporaryFile(std::move(path), std::move(file));
        }
    }
    errors << kCannotExport << "cannot make a scratch file in " << where << ": "
           << std::strerror(error) << std::endl;
    return std::nullopt;
}

TemporaryFile::~TemporaryFile() {
    file_.close();
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : path_(std::move(other.path_)), file_(std::move(other.file_)) {
    other.path_.clear();
}

bool TemporaryFile::append(const void* bytes, std::size_t size) {
    const auto* next = static_cast<const char*>(bytes);
    while (size > 0) {
        const std::ptrdiff_t written = file_.write(next, size);
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
