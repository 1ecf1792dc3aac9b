#!/usr/bin/env bash
# On a Wayland compositor with no X server (WAYLAND_DISPLAY set, DISPLAY not)
# the program picks Qt's wayland platform by itself, announces that it waits
# for the user through a pipe, and ends cleanly on SIGTERM. The compositor is
# a headless Weston of the test's own.
set -euo pipefail
source "$(dirname "$0")/common.bash"

unset DISPLAY QT_QPA_PLATFORM
export XDG_RUNTIME_DIR="$scratch/runtime"
export WAYLAND_DISPLAY=radioshow-test
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=headless-backend.so --shell=kiosk-shell.so --idle-time=0 --width=1280 --height=720 \
  --socket="$WAYLAND_DISPLAY" >"$scratch/weston.log" 2>&1 &
compositor=$!
trap 'kill "$compositor" 2>/dev/null; wait "$compositor" 2>/dev/null; rm -rf "$output" "$scratch"' EXIT
for _ in $(seq 1 100); do
  [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break
  kill -0 "$compositor" 2>/dev/null || { cat "$scratch/weston.log" >&2; fail "weston did not start"; }
  sleep 0.1
done

errors="$scratch/errors"
start_show
wait_for_line "loaded everything: waiting for user action"
kill -TERM "$pid"
wait_for_exit 20
[ "$status" -eq 0 ] || { cat "$errors" >&2; fail "exit status $status after SIGTERM"; }
grep -q "^time elapsed" "$output" && fail "a statistics line without a show"
echo "Wayland: ready line through a pipe, exit 0 on SIGTERM"
