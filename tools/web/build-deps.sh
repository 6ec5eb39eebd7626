#!/bin/sh
# Builds the libraries the browser build links for WebAssembly, with Debian's emscripten, from
# Debian's own source packages at the versions the Linux build uses, as static libraries.
# Emscripten's own ports of them download their sources on first use, which Debian's emscripten
# (its cache frozen) refuses. Each is installed into one folder under
# ${XDG_CACHE_HOME:-~/.cache}/chronocell/ named for the emscripten version, and stamped with its
# source version, its options and the stamps of what it builds on: a second run reuses what is
# there, and a change to any of those rebuilds just what it touches.
#
# Usage: tools/web/build-deps.sh [NAME...]
# Builds the libraries named (zlib, minizip, glm, freetype, assimp), or all of them, and prints
# the folder. A CMake project configured with emscripten's toolchain finds them with that folder
# appended to CMAKE_FIND_ROOT_PATH: the toolchain searches for libraries, headers and packages
# only under those roots.
set -eu

source_root=$(cd "$(dirname "$0")/../.." && pwd)
toolchain=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
jobs=${JOBS:-$(nproc)}
# Debian's emcc runs on the machine's node, which does not search Debian's own module folder.
NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
export NODE_PATH
compiler=$(emcc -dumpversion)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/chronocell
prefix="$cache/web-emscripten-$compiler"
mkdir -p "$prefix/stamps"
. "$source_root/tools/source-builds.sh"

# The prefix is both where a library installs and, as a root of the toolchain's searches, where
# it finds the ones built before it.
cmake_build() {
    cmake -S "${SOURCE_DIR:-.}" -B web-build -G "Unix Makefiles" \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_FIND_ROOT_PATH="$prefix" \
        -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF "$@" >&2
    cmake --build web-build -j "$jobs" >&2
    cmake --install web-build >&2
}

build_zlib() {
    # The static library alone: WebAssembly has no shared one. zlib's CMake file still names
    # win32/zlib1.rc for the shared library on every system but MinGW, and Debian's source leaves
    # win32/ out: an empty file stands in for it, so that CMake generates the build at all.
    mkdir -p win32 && touch win32/zlib1.rc
    cmake -S . -B web-build -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release >&2
    cmake --build web-build -j "$jobs" --target zlibstatic >&2
    mkdir -p "$prefix/include" "$prefix/lib"
    cp zlib.h web-build/zconf.h "$prefix/include/"
    cp web-build/libz.a "$prefix/lib/libz.a"
}

build_freetype() {
    # Against the zlib above: a copy of its own would clash with it at link time.
    cmake_build -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
        -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
}

build_minizip() {
    # zlib's own contrib/minizip, which Assimp reads FBX's zipped parts with; Debian's Assimp
    # source takes it from the system rather than bundling it. iowin32 is Windows' file access.
    cd contrib/minizip
    for unit in unzip ioapi; do
        emcc -O2 -I"$prefix/include" -c "$unit.c" -o "$unit.o"
    done
    emar rcs "$prefix/lib/libminizip.a" unzip.o ioapi.o
    mkdir -p "$prefix/include/minizip" "$prefix/lib/pkgconfig"
    cp unzip.h ioapi.h "$prefix/include/minizip/"
    printf '%s\n' "prefix=$prefix" 'Name: minizip' 'Description: zip files through zlib' \
        "Version: 1.2.13" 'Cflags: -I${prefix}/include/minizip' \
        'Libs: -L${prefix}/lib -lminizip -lz' > "$prefix/lib/pkgconfig/minizip.pc"
}

build_assimp() {
    # Only the two formats the game's models come in. Debian builds Assimp with its draco
    # library, which the game's formats never use: that patch is taken back. utf8cpp and
    # stb_image, which Debian's source takes from the system, are header files alone.
    patch -R -p1 < debian/patches/use-system-libdraco.patch >&2
    mkdir -p "$prefix/include/stb"
    cp -r /usr/include/utf8cpp/. "$prefix/include/"
    cp /usr/include/stb/stb_image.h "$prefix/include/stb/"
    # Assimp reports a damaged file by throwing, and emscripten builds C++ without exceptions
    # unless told: a bad model would abort the page instead of failing to load. Its CMake file
    # therefore hands -fexceptions to whatever links it, both to compile the code that catches
    # and to link the runtime that unwinds. minizip and zlib are named by their paths rather than
    # by the bare names pkg-config gives, which a project would otherwise have to find itself.
    sed -i 's/(assimp ${UNZIP_LIBRARIES})/(assimp ${UNZIP_LINK_LIBRARIES})/' code/CMakeLists.txt
    grep -q 'UNZIP_LINK_LIBRARIES' code/CMakeLists.txt
    printf '%s\n' 'target_compile_options(assimp PUBLIC $<$<COMPILE_LANGUAGE:CXX>:-fexceptions>)' \
        'target_link_options(assimp INTERFACE -fexceptions)' >> code/CMakeLists.txt
    PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" cmake_build \
        -DASSIMP_BUILD_ALL_IMPORTERS_BY_DEFAULT=OFF -DASSIMP_BUILD_OBJ_IMPORTER=ON \
        -DASSIMP_BUILD_FBX_IMPORTER=ON -DASSIMP_BUILD_ALL_EXPORTERS_BY_DEFAULT=OFF \
        -DASSIMP_NO_EXPORT=ON -DASSIMP_BUILD_TESTS=OFF -DASSIMP_BUILD_ASSIMP_TOOLS=OFF \
        -DASSIMP_BUILD_SAMPLES=OFF -DASSIMP_BUILD_ZLIB=OFF -DASSIMP_WARNINGS_AS_ERRORS=OFF \
        -DASSIMP_INSTALL_PDB=OFF -DASSIMP_BUILD_DRACO=OFF \
        -DCMAKE_CXX_FLAGS="-fexceptions -I$prefix/include"
}

build zlib zlib1g-dev
build minizip zlib1g-dev zlib
build glm libglm-dev
build freetype libfreetype-dev zlib
build assimp libassimp-dev zlib minizip
echo "$prefix"
