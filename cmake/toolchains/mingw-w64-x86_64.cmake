# x86-64 Windows with Debian's MinGW-w64 cross compiler (GCC, POSIX threads). The libraries the
# game links are searched only in MinGW's own root and in the folders tools/windows/build-deps.sh
# installs them to (CHRONOCELL_WINDOWS_ROOTS), never among the build machine's Linux libraries.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CHRONOCELL_WINDOWS_ROOTS)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${CHRONOCELL_WINDOWS_ROOTS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
