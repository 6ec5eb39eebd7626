#include "platform/FileDescriptor.h"

#include <unistd.h>
#include <utility>

std::ptrdiff_t FileDescriptor::write(const void* bytes, std::size_t count) {
    return ::write(descriptor_, bytes, count);
}

void FileDescriptor::close() {
    // Linux frees the descriptor even when close reports EINTR, so it is never retried.
    if (descriptor_ >= 0) {
        ::close(std::exchange(descriptor_, -1));
    }
}
