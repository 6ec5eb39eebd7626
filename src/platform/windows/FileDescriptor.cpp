#include "platform/FileDescriptor.h"

#include <climits>
#include <io.h>
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
    // _write takes an unsigned int; a larger write is finished by the caller's loop.
    const unsigned int some = count > INT_MAX ? INT_MAX : static_cast<unsigned int>(count);
    return ::_write(descriptor_, bytes, some);
}

void FileDescriptor::close() {
    // Closes the Windows handle beneath too.
    if (descriptor_ >= 0) {
        ::_close(std::exchange(descriptor_, -1));
    }
}
