#pragma once

#include "platform/FileDescriptor.h"

#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

// A file of this process's own in the shared temporary folder ($TMPDIR, else /tmp), for data
// another program reads by name. It is made new, readable by its owner alone, and never through
// a name someone else placed there first: a symbolic link or file already at a name is passed
// over, so nobody can make the game write into a file of theirs or of the player's. It is
// removed when its owner goes, on success, failure and a stopped export alike.
class TemporaryFile {
  public:
    // "<stem>-<pid>-<n><extension>" in the temporary folder, or none after one line on `errors`
    // naming the folder and why.
    static std::optional<TemporaryFile> create(const std::string& stem,
                                               const std::string& extension, std::ostream& errors);

    ~TemporaryFile();
    TemporaryFile(TemporaryFile&& other) noexcept;
    TemporaryFile& operator=(TemporaryFile&&) = delete;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Appends `size` bytes; false, with errno set, when the disk or the file refuses them.
    bool append(const void* bytes, std::size_t size);

  private:
    TemporaryFile(std::filesystem::path path, FileDescriptor file)
        : path_(std::move(path)), file_(std::move(file)) {}

    // Empty once moved from.
    std::filesystem::path path_;
    FileDescriptor file_;
};
