#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>

// The file an encoder writes beside the video it makes, with the video's extension and a name
// no other file has. It becomes the video only when kept; otherwise it is removed, so a failed
// or abandoned export leaves nothing behind and never replaces a video already there.
class PartialFile {
  public:
    // The partial file, created empty to prove that the folder takes it, or none after one
    // line on `errors` naming `output` and why it cannot be written.
    static std::optional<PartialFile> create(const std::filesystem::path& output,
                                             std::ostream& errors);
    ~PartialFile();
    PartialFile(PartialFile&& other) noexcept;
    PartialFile& operator=(PartialFile&&) = delete;
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Renames the partial file to the output; false after one line on `errors` when that fails,
    // and the partial file is removed.
    bool keep(std::ostream& errors);
    void remove();

  private:
    PartialFile(std::filesystem::path output, std::filesystem::path path)
        : output_(std::move(output)), path_(std::move(path)) {}

    std::filesystem::path output_;
    // Empty once kept or removed.
    std::filesystem::path path_;
};
