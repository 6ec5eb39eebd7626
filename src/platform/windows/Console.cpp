#include "platform/Console.h"

#include <cstdio>
#include <io.h>
#include <windows.h>

namespace {

// A handle the parent gave for a file or pipe, which the player chose and which stays.
bool redirected(DWORD which) {
    HANDLE handle = ::GetStdHandle(which);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

} // namespace

namespace platform {

void attachConsole() {
    const bool outputRedirected = redirected(STD_OUTPUT_HANDLE);
    const bool errorsRedirected = redirected(STD_ERROR_HANDLE);
    if (!::AttachConsole(ATTACH_PARENT_PROCESS)) {
        return;
    }
    // Text mode, as the C library opens a console program's streams.
    if (!outputRedirected) {
        std::freopen("CONOUT$", "w", stdout);
    }
    if (!errorsRedirected) {
        std::freopen("CONOUT$", "w", stderr);
    }
}

bool errorsGoToTerminal() {
    HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stderr)));
    DWORD mode = 0;
    // _isatty also says yes for NUL; only a console has a console mode.
    return handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode) != 0;
}

} // namespace platform
