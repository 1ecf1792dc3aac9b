#!/usr/bin/env bash
# With no display to connect to, or one that does not let it in, the program
# says so in one line and exits 1 instead of aborting inside the
# window-system plugin.
set -euo pipefail
program="$1"
output=$(mktemp)
trap 'rm -f "$output"' EXIT

fail() {
  echo "FAIL: $*" >&2
  cat "$output" >&2
  exit 1
}

status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" >"$output" 2>/dev/null || status=$?
[ "$status" -eq 1 ] || fail "exit status $status without a display, not 1"
[ "$(cat "$output")" = "radioshow: no display to show on (neither DISPLAY nor WAYLAND_DISPLAY is set)" ] || fail "not the one no-display line"

status=0
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY= "$program" >"$output" 2>/dev/null || status=$?
[ "$status" -eq 1 ] || fail "exit status $status with an empty DISPLAY, not 1"
[ "$(cat "$output")" = "radioshow: no display to show on (neither DISPLAY nor WAYLAND_DISPLAY is set)" ] || fail "not the one no-display line for an empty DISPLAY"

# A Wayland display where no compositor listens.
status=0
env -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY=radioshow-nowhere XDG_RUNTIME_DIR="$(dirname "$output")" "$program" >"$output" 2>/dev/null || status=$?
[ "$status" -eq 1 ] || fail "exit status $status with no Wayland compositor, not 1"
[ "$(cat "$output")" = "radioshow: cannot show on Wayland display radioshow-nowhere (no compositor answers there)" ] || fail "not the one dead-Wayland line"

# A display number where no X server listens.
dead=900
while [ -e "/tmp/.X11-unix/X$dead" ] || [ -e "/tmp/.X$dead-lock" ]; do dead=$((dead + 1)); done
status=0
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=":$dead" "$program" >"$output" 2>/dev/null || status=$?
[ "$status" -eq 1 ] || fail "exit status $status with no X server on :$dead, not 1"
[ "$(cat "$output")" = "radioshow: cannot show on display :$dead (no X server answers there)" ] || fail "not the one dead-display line"

# A server that wants a key the program lacks: a private one, which takes
# its own cookie only.
status=0
"$(dirname "$0")/../with-display" --private \
  env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XAUTHORITY=/dev/null "$program" >"$output" 2>/dev/null || status=$?
[ "$status" -eq 1 ] || fail "exit status $status on a display that refuses the program, not 1"
grep -qx "radioshow: cannot show on display :[0-9]* (the X server there refuses the connection: not authorised)" "$output" \
  || fail "not the one refused-display line"

# Asked for help or the version, it answers and opens no window.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY "$program" --help >"$output" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "exit status $status for --help, not 0"
for word in Escape Q SIGTERM QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY RADIOSHOW_SDR_RECORDING RADIOSHOW_FM_DEEMPHASIS; do
  grep -qw "$word" "$output" || fail "--help does not mention $word"
done
version=$(sed -n 's/^project(radioshow VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
status=0
env -u DISPLAY -u WAYLAND_DISPLAY "$program" -platform xcb --version >"$output" 2>&1 || status=$?
[ "$status" -eq 0 ] || fail "exit status $status for --version, not 0"
[ "$(cat "$output")" = "radioshow $version" ] || fail "not the version line of radioshow $version"

# Another platform needs no X server: the program goes its normal way, which
# without GL on that platform is its own refusal, never the display line.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 60 "$program" -platform offscreen >"$output" 2>/dev/null || status=$?
grep -q "no display to show on" "$output" && fail "the offscreen platform was refused for want of a display"
[ "$status" -ne 134 ] || fail "aborted on the offscreen platform"
echo "no display, dead display, refused display: one line, exit 1; --help, --version: exit 0; offscreen platform not refused (exit $status)"
