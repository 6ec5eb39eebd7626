#pragma once

#include <string>

// Windows' error numbers as the errno values the game's messages are written for, so that a
// missing program or a taken name reads the same on every system.
namespace windowsErrors {

// The errno value for a GetLastError() value; EIO for any the game has no words of its own for.
int toErrno(unsigned long error);
// The C library's text for it.
std::string describe(unsigned long error);

} // namespace windowsErrors
