#!/bin/sh
# Cross-builds the platform tests (tests/platform) with MinGW-w64 against the Windows sources of
# src/platform and GoogleTest from Debian's source, then runs them under Wine. Needs neither the
# game's Windows libraries nor a Windows CMake setup.
set -eu
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$source_dir/build-win-platform}
cxx="${CCACHE:-ccache} x86_64-w64-mingw32-g++-posix"
flags="-std=c++20 -O1 -Wall -Wextra -Wpedantic -I$source_dir/src"
gtest=/usr/src/googletest/googletest
mkdir -p "$out/obj"

compile() { # source object [extra flags]
    [ "$2" -nt "$1" ] || $cxx $flags ${3:-} -c "$1" -o "$2"
}

compile "$gtest/src/gtest-all.cc" "$out/obj/gtest-all.o" "-I$gtest -I$gtest/include -w"
compile "$gtest/src/gtest_main.cc" "$out/obj/gtest_main.o" "-I$gtest/include -w"
objects="$out/obj/gtest-all.o $out/obj/gtest_main.o"
# The quit signals need SDL and a console of their own; the rest is what the tests reach.
for source in "$source_dir"/src/platform/*.cpp "$source_dir"/src/platform/windows/*.cpp \
    "$source_dir/tests/platform/PlatformTest.cpp"; do
    case $source in */QuitSignals.cpp) continue ;; esac
    object="$out/obj/$(basename "$(dirname "$source")")-$(basename "$source" .cpp).o"
    $cxx $flags "-I$gtest/include" -c "$source" -o "$object"
    objects="$objects $object"
done
$cxx $flags -static "$source_dir/tests/platform/ChildHelper.cpp" -o "$out/platform_child_helper.exe"
$cxx -static $objects -o "$out/platform_tests.exe"

export WINEPREFIX="${WINEPREFIX:-/tmp/wine-platform}" WINEDEBUG=-all
[ -d "$WINEPREFIX" ] || wineboot -i
wine "$out/platform_tests.exe"
