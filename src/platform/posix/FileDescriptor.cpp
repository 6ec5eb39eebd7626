#include "platform/FileDescriptor.h"

#include <unistd.h>
#include <utility>

FileDescriptor::~FileDescriptor() {
    close();
}

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        close();
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

std::ptrdiff_t FileDescriptor::write(const void* bytes, std::size_t count) {
    return ::write(descriptor_, bytes, count);
}

void FileDescriptor::close() {
    // Linux frees the descriptor even when close reports EINTR, so it is never retried.
    if (descriptor_ >= 0) {
        ::close(std::exchange(descriptor_, -1));
    }
}
