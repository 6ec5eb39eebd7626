#!/bin/sh
# Runs a command with an X display: the caller's own when DISPLAY is set, otherwise a private
# Xvfb (1024 x 768, 24-bit, key repeat off) that is stopped again afterwards.
set -eu
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec "$@"
fi

fifo_dir=$(mktemp -d)
mkfifo "$fifo_dir/displayfd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset -r 3>"$fifo_dir/displayfd" \
    >/dev/null 2>&1 &
xvfb_pid=$!
display_number=$(head -n1 <"$fifo_dir/displayfd")
rm -rf "$fifo_dir"
cleanup() { kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT INT TERM
export DISPLAY=":$display_number"
status=0
"$@" || status=$?
exit $status
