# Builds for 32-bit x86 Linux with Debian's cross toolchain (g++-i686-linux-gnu; Debian's
# g++-multilib cannot be installed beside the arm64 cross compiler, it removes it). What it
# builds runs natively through the toolchain's own loader on a kernel with 32-bit support, and
# under qemu-user (qemu-i386-static) on one without:
#
#   cmake -S . -B build-i386 --toolchain cmake/i686-linux-gnu.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER i686-linux-gnu-g++)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386-static;-L;/usr/i686-linux-gnu)

set(CMAKE_FIND_ROOT_PATH /usr/i686-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# GLM is header-only and the same for every architecture; its package file is the host's.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
