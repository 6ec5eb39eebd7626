#pragma once

#include <cstddef>

// An open file descriptor (the C library's, on Windows too), closed when its owner goes.
class FileDescriptor {
  public:
    FileDescriptor() = default;
    explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return descriptor_; }
    bool isOpen() const { return descriptor_ >= 0; }
    void close();
    // Writes some of the bytes: how many, or -1 with errno set.
    std::ptrdiff_t write(const void* bytes, std::size_t count);

  private:
    int descriptor_ = -1;
};
