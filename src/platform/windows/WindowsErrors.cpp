#include "platform/windows/WindowsErrors.h"

#include <cerrno>
#include <cstring>
#include <windows.h>

namespace windowsErrors {

int toErrno(unsigned long error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return ENOENT;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return EACCES;
    case ERROR_BAD_EXE_FORMAT:
        return ENOEXEC;
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
        return EPIPE;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    default:
        return EIO;
    }
}

std::string describe(unsigned long error) {
    return std::strerror(toErrno(error));
}

} // namespace windowsErrors
