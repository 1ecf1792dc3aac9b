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

# The show ends at its 1500th service tick, or once its clock passes 155 s
# when a busy machine delays the ticks; then tick 1498, which stops the radio
# with its line, may not have come.
mapfile -t lines <"$output"
[ ${#lines[@]} -gt 0 ] || fail "no output"
last=${lines[${#lines[@]} - 1]}
[[ "$last" =~ ^time\ elapsed:\ ([0-9]+),\ fps:\ [0-9]+$ ]] || fail "last line \"$last\""
elapsed=${BASH_REMATCH[1]}
[ "$elapsed" -ge 150 ] && [ "$elapsed" -le 156 ] || fail "the show lasted $elapsed s"
expected=("loaded everything: waiting for user action" "activating radio" "stopping radio")
[ "$elapsed" -ge 155 ] && [ "${#lines[@]}" -eq 3 ] && unset 'expected[2]'
[ "${#lines[@]}" -eq $((${#expected[@]} + 1)) ] || fail "expected $((${#expected[@]} + 1)) lines, got ${#lines[@]}"
for i in "${!expected[@]}"; do
  [ "${lines[$i]}" = "${expected[$i]}" ] || fail "line $((i + 1)) is \"${lines[$i]}\", not \"${expected[$i]}\""
done
echo "$last"
