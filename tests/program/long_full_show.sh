#!/usr/bin/env bash
# The whole show: the button pressed, 150 s of show, then the program closes
# itself and prints, in order, the ready line, the radio's two lines and the
# statistics line.
set -euo pipefail
source "$(dirname "$0")/common.bash"

start_show
wait_for_window
wait_for_line "loaded everything: waiting for user action"
sleep 1
press_radio
wait_for_line "activating radio"
wait_for_exit 200
[ "$status" -eq 0 ] || fail "exit status $status"

mapfile -t lines <"$output"
expected=("loaded everything: waiting for user action" "activating radio" "stopping radio")
[ "${#lines[@]}" -eq 4 ] || fail "expected 4 lines, got ${#lines[@]}"
for i in 0 1 2; do
  [ "${lines[$i]}" = "${expected[$i]}" ] || fail "line $((i + 1)) is \"${lines[$i]}\", not \"${expected[$i]}\""
done
[[ "${lines[3]}" =~ ^time\ elapsed:\ (150|151),\ fps:\ [0-9]+$ ]] || fail "last line \"${lines[3]}\""
echo "${lines[3]}"
