#!/bin/sh
# Cross-builds the libraries the game links for x86-64 Windows, from Debian's own source packages
# at the versions the Linux build uses, as static libraries, with MinGW-w64. Each is installed
# into one folder under ${XDG_CACHE_HOME:-~/.cache}/chronocell/ named for the compiler, and
# stamped with its source version, its options and the stamps of what it builds on: a second run
# reuses what is there, and a change to any of those rebuilds just what it touches.
#
# Usage: tools/windows/build-deps.sh [NAME...]
# Builds the libraries named (glm, zlib, minizip, glfw, freetype, sdl2, sdl2_mixer, assimp), or
# all of them, and prints the folder, which a Windows build takes as CHRONOCELL_WINDOWS_ROOTS.
set -eu

source_root=$(cd "$(dirname "$0")/../.." && pwd)
toolchain="$source_root/cmake/toolchains/mingw-w64-x86_64.cmake"
jobs=${JOBS:-$(nproc)}
compiler=$(x86_64-w64-mingw32-g++-posix -dumpfullversion)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/chronocell
prefix="$cache/windows-x86_64-gcc$compiler"
mkdir -p "$prefix/stamps"
. "$source_root/tools/source-builds.sh"

cmake_build() {
    cmake -S "${SOURCE_DIR:-.}" -B cross-build -G "Unix Makefiles" \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCHRONOCELL_WINDOWS_ROOTS="$prefix" \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release \
        -DBUILD_SHARED_LIBS=OFF "$@" >&2
    cmake --build cross-build -j "$jobs" >&2
    cmake --install cross-build >&2
}

build_zlib() {
    # Debian's zlib source leaves out the Windows resources its shared library needs: the static
    # library is all the game takes, so only it is built, and put where find_package looks.
    cmake -S . -B cross-build -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release >&2
    cmake --build cross-build -j "$jobs" --target zlibstatic >&2
    mkdir -p "$prefix/include" "$prefix/lib"
    cp zlib.h cross-build/zconf.h "$prefix/include/"
    cp cross-build/libzlibstatic.a "$prefix/lib/libz.a"
}

build_glfw() {
    cmake_build -DGLFW_BUILD_EXAMPLES=OFF -DGLFW_BUILD_TESTS=OFF -DGLFW_BUILD_DOCS=OFF
}

build_freetype() {
    # Against the zlib above: a copy of its own would clash with it at link time.
    cmake_build -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
        -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
}

build_sdl2() {
    cmake_build -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF
}

build_sdl2_mixer() {
    # The game's sounds are WAV files alone.
    cmake_build -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF \
        -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS=OFF \
        -DSDL2MIXER_WAVPACK=OFF -DSDL2MIXER_DEPS_SHARED=OFF
}

build_minizip() {
    # zlib's own contrib/minizip, which Assimp reads FBX's zipped parts with; Debian's Assimp
    # source takes it from the system rather than bundling it.
    cd contrib/minizip
    for unit in unzip ioapi iowin32; do
        x86_64-w64-mingw32-gcc-posix -O2 -I"$prefix/include" -c "$unit.c" -o "$unit.o"
    done
    x86_64-w64-mingw32-ar rcs "$prefix/lib/libminizip.a" unzip.o ioapi.o iowin32.o
    mkdir -p "$prefix/include/minizip" "$prefix/lib/pkgconfig"
    cp unzip.h ioapi.h iowin32.h "$prefix/include/minizip/"
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
    PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" cmake_build \
        -DASSIMP_BUILD_ALL_IMPORTERS_BY_DEFAULT=OFF -DASSIMP_BUILD_OBJ_IMPORTER=ON \
        -DASSIMP_BUILD_FBX_IMPORTER=ON -DASSIMP_BUILD_ALL_EXPORTERS_BY_DEFAULT=OFF \
        -DASSIMP_NO_EXPORT=ON -DASSIMP_BUILD_TESTS=OFF -DASSIMP_BUILD_ASSIMP_TOOLS=OFF \
        -DASSIMP_BUILD_SAMPLES=OFF -DASSIMP_BUILD_ZLIB=OFF -DASSIMP_WARNINGS_AS_ERRORS=OFF \
        -DASSIMP_INSTALL_PDB=OFF -DASSIMP_BUILD_DRACO=OFF \
        -DCMAKE_CXX_FLAGS="-I$prefix/include"
}

build zlib zlib1g-dev
build minizip zlib1g-dev zlib
build glm libglm-dev
build glfw libglfw3-dev
build freetype libfreetype-dev zlib
build sdl2 libsdl2-dev
build sdl2_mixer libsdl2-mixer-dev sdl2
build assimp libassimp-dev zlib minizip
echo "$prefix"
