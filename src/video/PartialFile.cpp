#include "video/PartialFile.h"

#include "video/ExportMessage.h"

#include "platform/Files.h"
#include "platform/Process.h"

#include <cerrno>
#include <ostream>
#include <string>
#include <system_error>

namespace {

// Names taken by files of an earlier export that was killed, tried past before giving up.
constexpr int kNamesTried = 100;

void cannotWrite(const std::filesystem::path& output, std::error_code error, std::ostream& errors) {
    errors << kCannotExport << "cannot write " << output << ": " << error.message() << "\n";
}

// "clip.mp4" becomes "clip.part-PID-N.mp4": the extension stays for whoever looks at the
// folder meanwhile, and the process number keeps two exports apart.
std::filesystem::path partialName(const std::filesystem::path& output, int attempt) {
    std::filesystem::path name = output;
    name.replace_filename(output.stem().string() + ".part-" +
                          std::to_string(platform::processId()) + "-" + std::to_string(attempt) +
                          output.extension().string());
    return name;
}

} // namespace

std::optional<PartialFile> PartialFile::create(const std::filesystem::path& output,
                                               std::ostream& errors) {
    // A folder of that name could not be renamed over: say so before any encoding.
    std::error_code unknown;
    if (std::filesystem::is_directory(output, unknown)) {
        cannotWrite(output, std::make_error_code(std::errc::is_a_directory), errors);
        return std::nullopt;
    }
    for (int attempt = 0; attempt < kNamesTried; ++attempt) {
        std::filesystem::path path = partialName(output, attempt);
        int error = 0;
        if (platform::createNewFile(path, platform::Readers::Everyone, error).isOpen()) {
            return PartialFile(output, std::move(path));
        }
        if (error != EEXIST) {
            cannotWrite(output, std::error_code(error, std::generic_category()), errors);
            return std::nullopt;
        }
    }
    cannotWrite(output, std::make_error_code(std::errc::file_exists), errors);
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
    std::error_code error;
    std::filesystem::rename(path_, output_, error);
    if (error) {
        cannotWrite(output_, error, errors);
        remove();
        return false;
    }
    path_.clear();
    return true;
}

void PartialFile::remove() {
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
        path_.clear();
    }
}
