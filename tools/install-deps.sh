#!/bin/sh
# Installs the Debian packages the game, its tests and its tools need, skipping those already
# present, so `make run` and `make test` work on a fresh machine.
set -eu

PACKAGES="cmake make g++ pkg-config python3 python3-glad libglfw3-dev libglm-dev libstb-dev \
libinih-dev libfreetype-dev clang-format libassimp-dev libsdl2-dev libsdl2-mixer-dev libgtest-dev libgl1-mesa-dri \
xvfb xdotool x11-utils libxtst6 dpkg-dev file desktop-file-utils appstream groff-base"
# The video tests encode with the real ffmpeg and read the videos back with its ffprobe; the game
# itself only recommends it, for exporting a recorded game as a video.
PACKAGES="$PACKAGES ffmpeg"
# The shaders the browser build adapts to GLSL ES 3.00 are checked with the reference compiler.
PACKAGES="$PACKAGES glslang-tools"
# A video export without a display draws through Mesa's EGL: the game links libEGL, and Mesa's
# EGL vendor library gives it the surfaceless platform.
PACKAGES="$PACKAGES libegl-dev libegl-mesa0"
if [ "${CHRONOCELL_FUZZ_DEPS:-0}" = 1 ]; then
    PACKAGES="$PACKAGES clang-14 libclang-rt-14-dev"
fi
# The other builds `make verify-ports` checks recordings with: arm64 and i386 cross compilers,
# qemu-user to run them, clang. (Debian's g++-multilib conflicts with the arm64 cross compiler;
# the i386 cross compiler stands in for it.)
# What `make package` builds the Debian package with, and the font it links to.
if [ "${CHRONOCELL_PACKAGE_DEPS:-0}" = 1 ]; then
    PACKAGES="$PACKAGES debhelper lintian fonts-comfortaa git"
fi
# The Windows build: Debian's MinGW-w64 cross compiler, and what tools/windows/build-deps.sh needs
# to build the libraries from Debian's sources (utf8cpp's headers for Assimp).
if [ "${CHRONOCELL_WINDOWS_DEPS:-0}" = 1 ]; then
    PACKAGES="$PACKAGES g++-mingw-w64-x86-64-posix dpkg-dev patch libutfcpp-dev libstb-dev"
fi
# The browser build: Debian's emscripten, the node it runs on and that runs its programs, npm and
# Chromium to drive and draw the page in tests, and what tools/web/build-deps.sh needs to build the
# libraries from Debian's sources (utf8cpp's and stb's headers for Assimp, GLM's own).
if [ "${CHRONOCELL_WEB_DEPS:-0}" = 1 ]; then
    # ImageMagick reads the page's pictures back for the browser tests.
    PACKAGES="$PACKAGES emscripten nodejs chromium imagemagick dpkg-dev patch libutfcpp-dev libstb-dev \
libglm-dev"
    # A Node.js from outside Debian brings its own npm, which apt counts as no package, and
    # refuses Debian's npm beside it: Debian's is asked for only where there is no npm at all.
    if ! command -v npm >/dev/null; then
        PACKAGES="$PACKAGES npm"
    fi
fi
# What `make windows-package` builds the installer with, and tests it and the zip under.
if [ "${CHRONOCELL_WINDOWS_PACKAGE_DEPS:-0}" = 1 ]; then
    PACKAGES="$PACKAGES nsis wine wine64 git"
fi
if [ "${CHRONOCELL_PORT_DEPS:-0}" = 1 ]; then
    PACKAGES="$PACKAGES g++-aarch64-linux-gnu g++-i686-linux-gnu qemu-user-static clang-14"
    # The rules cross-built for Windows, replayed under Wine.
    PACKAGES="$PACKAGES g++-mingw-w64-x86-64-posix wine wine64 dpkg-dev"
    # The rules compiled to WebAssembly, replayed under node.
    PACKAGES="$PACKAGES emscripten nodejs"
fi

missing=""
for package in $PACKAGES; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    case "$status" in
        *"install ok installed"*) ;;
        *) missing="$missing $package" ;;
    esac
done

if [ -n "$missing" ]; then
    echo "Installing missing Debian packages:$missing"
    SUDO=""
    if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get -o DPkg::Lock::Timeout=600 update
    # shellcheck disable=SC2086
    # Never removes a package to make room (g++-multilib would go for the arm64 cross compiler).
    $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends --no-remove \
        $missing
fi

# `apt-get source` needs the source lists, which a new Debian 12 machine leaves out: the same
# Debian archive's, in a list of their own. The Windows and the browser builds both compile their
# libraries from Debian's sources.
builds_from_source=0
if [ "${CHRONOCELL_WINDOWS_DEPS:-0}" = 1 ] || [ "${CHRONOCELL_WEB_DEPS:-0}" = 1 ]; then
    builds_from_source=1
fi
if [ "$builds_from_source" = 1 ] &&
    ! grep -qrs '^[^#]*deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    echo "Adding Debian's source lists for the libraries the Windows and browser builds compile"
    SUDO=""
    if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
    sed -n '/^Types:/,/^$/p' /etc/apt/sources.list.d/debian.sources |
        sed 's/^Types:.*/Types: deb-src/' | $SUDO tee /etc/apt/sources.list.d/chronocell-src.sources \
        >/dev/null
    $SUDO apt-get -o DPkg::Lock::Timeout=600 update
fi
