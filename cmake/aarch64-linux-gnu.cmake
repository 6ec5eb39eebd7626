# Cross-compiles for 64-bit ARM Linux with Debian's cross toolchain (g++-aarch64-linux-gnu), and
# runs what it builds (ctest, try_run) through qemu-user (qemu-user-static), so the same tests
# can show on this machine whether an arm64 build plays the same games.
#
#   cmake -S . -B build-arm64 --toolchain cmake/aarch64-linux-gnu.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64-static;-L;/usr/aarch64-linux-gnu)

# Libraries and headers come from the cross toolchain's own tree, build tools from the host.
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Package files are looked for in the host's tree as well, or GLM (header-only, the same for
# every architecture, its package file in /usr/share/cmake/glm) would not be found. The host's
# x86-64 package files stay out of reach: they sit under /usr/lib/x86_64-linux-gnu, and this
# toolchain's library architecture is aarch64-linux-gnu.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
# pkg-config would otherwise hand out the host's x86-64 libraries; only arm64 and
# architecture-independent .pc files count.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
