#!/bin/sh
# Runs each fuzz target for a bounded time, seeded with the shipped content. Usage:
#   tools/run-fuzzers.sh BUILD_DIR SECONDS_PER_TARGET
# New inputs that widen coverage are kept in BUILD_DIR/corpus/<target> between runs; a crash or
# leak leaves its input in BUILD_DIR/findings and fails the run after every target has had its
# turn.
set -eu
build=$(cd "$1" && pwd)
seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)
findings="$build/findings"
mkdir -p "$findings"

export ASAN_OPTIONS=detect_leaks=1:verify_asan_link_order=0
export LSAN_OPTIONS="suppressions=$root/tests/fuzz/lsan-fuzz.supp:print_suppressions=0"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

run() {
    target=$1
    shift
    corpus="$build/corpus/$target"
    seeds="$build/seeds/$target"
    mkdir -p "$corpus" "$seeds"
    for seed in "$@"; do cp "$root/$seed" "$seeds/"; done
    echo "== $target: $seconds s"
    "$root/tools/with-display.sh" "$build/fuzz/$target" -max_total_time="$seconds" \
        -rss_limit_mb=4096 -timeout=60 -print_final_stats=1 \
        -artifact_prefix="$findings/$target-" "$corpus" "$seeds"
}

status=0
run settings_fuzzer assets/settings.ini || status=1
run replay_fuzzer tests/replays/won.ccr tests/replays/lost.ccr || status=1
run model_obj_fuzzer assets/objects/clock.obj assets/objects/stone.obj assets/objects/tree.obj ||
    status=1
run model_fbx_fuzzer assets/objects/character.fbx || status=1
exit $status
