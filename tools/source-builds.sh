# The part of tools/windows/build-deps.sh and tools/web/build-deps.sh that is the same for every
# target: Debian's sources unpacked, and each library built once per source version, build
# options and dependencies, its stamp kept in $prefix/stamps. Sourced by those scripts after they
# set `prefix` and `source_root`; each defines a build_NAME function per library and calls
# `build NAME PACKAGE [DEPENDENCY...]`, with the arguments it was given naming the libraries
# wanted (none: all).
wanted="$*"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

log() { echo "build-deps: $*" >&2; }

# The version of Debian's source package that built the Linux library `package`.
source_version() {
    dpkg-query -W -f='${source:Package}=${source:Version}' "$1"
}

# Unpacks Debian's source `name=version`, with Debian's patches applied, into $work/name.
unpack() {
    (cd "$work" && apt-get source --download-only "$1" >&2 &&
        dpkg-source --no-check -x ./*.dsc "${1%%=*}" >&2 && rm -f ./*.dsc ./*.tar.* ./*.diff.*)
}

build_glm() {
    # Headers alone, the same for every target: Debian's own, with their relocatable CMake file.
    mkdir -p "$prefix/include" "$prefix/share/cmake"
    cp -r /usr/include/glm "$prefix/include/"
    cp -r /usr/share/cmake/glm "$prefix/share/cmake/"
}

# Runs `build_NAME` unless the stamp of `name`, its source and options (and its dependencies'
# stamps, passed as the remaining arguments) is already there.
build() {
    name=$1 package=$2
    shift 2
    if [ -n "$wanted" ] && ! echo " $wanted " | grep -q " $name "; then
        return
    fi
    version=$(source_version "$package")
    options=$(sed -n "/^build_$name() {/,/^}/p" "$0" "$source_root/tools/source-builds.sh" |
        sha256sum | cut -c1-12)
    depends=""
    for dependency in "$@"; do
        depends="$depends $(cat "$prefix/stamps/$dependency")"
    done
    stamp="$version $options$depends"
    if [ -f "$prefix/stamps/$name" ] && [ "$(cat "$prefix/stamps/$name")" = "$stamp" ]; then
        log "$name: cached ($version)"
        return
    fi
    log "$name: building $version"
    started=$(date +%s)
    # Header-only libraries are the same for every target: Debian's installed ones serve.
    if [ "$name" = glm ]; then
        build_glm
    else
        unpack "$version"
        (cd "$work/${version%%=*}" && "build_$name")
        rm -rf "$work/${version%%=*}"
    fi
    echo "$stamp" > "$prefix/stamps/$name"
    log "$name: built in $(($(date +%s) - started)) s"
}

