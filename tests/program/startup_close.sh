#!/usr/bin/env bash
# The program comes up covering the screen, announces once that it waits for
# the user, and closed before the button is pressed it exits 0 with no
# statistics line.
set -euo pipefail
source "$(dirname "$0")/common.bash"

start_show
wait_for_window
wait_for_line "loaded everything: waiting for user action"

eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$X,$Y,$WIDTH,$HEIGHT" = "0,0,1920,1080" ] || fail "window at $X,$Y size ${WIDTH}x$HEIGHT, not the whole 1920x1080 screen"

sleep 1
"$tools/closewindow" "$pid" || fail "could not ask the window to close"
wait_for_exit 20
[ "$status" -eq 0 ] || fail "exit status $status"
[ "$(count_lines "loaded everything: waiting for user action")" -eq 1 ] || fail "the ready line is not there exactly once"
grep -q "^time elapsed" "$output" && fail "a statistics line without a show"
echo "window 1920x1080, one ready line, clean exit 0 without statistics"
