#include "video/PartialFile.h"

#include "video/ExportMessage.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <ostream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Names taken by files of an earlier export that was killed, tried past before giving up.
constexpr int kNamesTried = 100;

void cannotWrite(const std::filesystem::path& output, int error, std::ostream& errors) {
    errors << kCannotExport << "cannot write " << output << ": " << std::strerror(error) << "\n";
}

// "clip.mp4" becomes "clip.part-PID-N.mp4": the extension stays for whoever looks at the
// folder meanwhile, and the process number keeps two exports apart.
std::filesystem::path partialName(const std::filesystem::path& output, int attempt) {
    std::filesystem::path name = output;
    name.replace_filename(output.stem().string() + ".part-" + std::to_string(::getpid()) + "-" +
                          std::to_string(attempt) + output.extension().string());
    return name;
}

} // namespace

std::optional<PartialFile> PartialFile::create(const std::filesystem::path& output,
                                               std::ostream& errors) {
    // A folder of that name could not be renamed over: say so before any encoding.
    struct stat existing {};
    if (::stat(output.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) {
        cannotWrite(output, EISDIR, errors);
        return std::nullopt;
    }
    for (int attempt = 0; attempt < kNamesTried; ++attempt) {
        std::filesystem::path path = partialName(output, attempt);
        const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                                S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH);
        if (file >= 0) {
            ::close(file);
            return PartialFile(output, std::move(path));
        }
        if (errno != EEXIST) {
            cannotWrite(output, errno, errors);
            return std::nullopt;
        }
    }
    cannotWrite(output, EEXIST, errors);
    return std::nullopt;
}

PartialFile::~PartialFile() {
    remove();
}

PartialFile::PartialFile(PartialFile&& other) noexcept
    : output_(std::move(other.output_)), path_(std::move(other.path_)) {
    other.path_.clear();
}

bool PartialFile::keep(std::ostream& errors) {
    if (::rename(path_.c_str(), output_.c_str()) != 0) {
        cannotWrite(output_, errno, errors);
        remove();
        return false;
    }
    path_.clear();
    return true;
}

void PartialFile::remove() {
    if (!path_.empty()) {
        ::unlink(path_.c_str());
        path_.clear();
    }
}
