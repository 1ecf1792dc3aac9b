#!/usr/bin/env bash
# The window closed from outside at moments of the program's life, as a
# window manager would, by a signal, or by a key: each exit is clean (status
# 0, which a sanitizer build turns non-zero on any report, leaks included)
# and the statistics line is there exactly when the show had started.
#
# CLOSE_MOMENTS lists the moments, each KIND:SECONDS[:HOW]:
#   first       as soon as the window exists, before any frame
#   waiting:S   S seconds after the ready line, the button untouched
#   click:S     S seconds after pressing the button (0: right after the click)
#   show:S      S seconds into the show ("rand": anywhere in its 150 s)
# HOW is wm (the default: the window manager's close), INT, TERM or HUP (that
# signal to the process), or a key pressed in the window (Escape, q).
set -euo pipefail
source "$(dirname "$0")/common.bash"

moments=(${CLOSE_MOMENTS:-first first waiting:0.5 waiting:2 click:0 click:0.4
  waiting:0.5:INT waiting:1:TERM waiting:0.5:HUP click:0.4:TERM show:1:INT waiting:0.5:Escape click:0:q})
errors="$scratch/errors"
# The X server resets when its last client leaves, and a program that starts
# during the reset cannot connect: one idle client keeps it up between runs.
xprop -root -spy >/dev/null 2>&1 &
holder=$!
trap 'kill "$holder" 2>/dev/null; rm -rf "$output" "$scratch"' EXIT

close_window() {
  case "$how" in
    wm) "$tools/closewindow" "$pid" >/dev/null 2>&1 ;;
    INT | TERM | HUP) kill -s "$how" "$pid" ;;
    *) xdotool key --window "$window" "$how" ;;
  esac
}

# Waits for a line of the program's output, naming the moment on failure.
wait_for_line_in() {
  waiting_on=$pid wait_for "$moment: \"$1\" on the program's output" "$2" grep -qxF "$1" "$output"
}

for moment in "${moments[@]}"; do
  kind=${moment%%:*}
  seconds=${moment#*:}
  how=wm
  [[ "$seconds" == *:* ]] && how=${seconds#*:} && seconds=${seconds%%:*}
  [ "$seconds" = rand ] && seconds=$((1 + RANDOM % 148)).$((RANDOM % 10)) && moment="$kind:$seconds:$how"
  start_show
  case "$kind" in
    first)
      # The window exists once closewindow finds it; no frame has been drawn
      # unless the ready line is out already.
      until close_window; do
        kill -0 "$pid" 2>/dev/null || { cat "$errors" >&2; fail "$moment: the program ended before its window existed"; }
        sleep 0.01
      done
      ;;
    waiting)
      wait_for_window
      wait_for_line_in "loaded everything: waiting for user action" 60
      sleep "$seconds"
      close_window || fail "$moment: could not ask the window to close"
      ;;
    click | show)
      wait_for_window
      wait_for_line_in "loaded everything: waiting for user action" 60
      press_radio
      if [ "$kind" = show ]; then
        wait_for_line_in "activating radio" 30
      fi
      sleep "$seconds"
      # Near the end the show may close itself first: then there is no window.
      if ! close_window; then
        sleep 1
        if kill -0 "$pid" 2>/dev/null && ! close_window; then
          fail "$moment: could not ask the window to close"
        fi
      fi
      ;;
    *)
      fail "unknown moment $moment"
      ;;
  esac
  wait_for_exit 60
  if [ "$status" -ne 0 ]; then
    cat "$errors" >&2
    fail "$moment: exit status $status"
  fi
  started=$(count_lines "activating radio")
  statistics=$(grep -c "^time elapsed: [0-9]*, fps: [0-9]*$" "$output" || true)
  [ "$statistics" -eq "$started" ] || fail "$moment: $statistics statistics lines for $started starts"
  grep -q "Sanitizer" "$errors" && { cat "$errors" >&2; fail "$moment: a sanitizer report"; }
  echo "$moment: exit 0, show started: $started, statistics lines: $statistics"
done
