#include "platform/FileDescriptor.h"

#include <climits>
#include <io.h>
#include <utility>

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
