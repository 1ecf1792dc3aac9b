# Shared by the whole-program tests: each runs the real radioshow on a private
# 1920x1080 virtual X server and watches it from outside.

if [ -z "${RADIOSHOW_ON_TEST_SERVER:-}" ]; then
  RADIOSHOW_ON_TEST_SERVER=1 exec xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" "$0" "$@"
fi

program="$1"
tools="$(dirname "$program")/tools"
output=$(mktemp)
errors=/dev/null
scratch=$(mktemp -d)
trap 'rm -rf "$output" "$scratch"' EXIT

fail() {
  echo "FAIL: $*" >&2
  echo "--- program output:" >&2
  cat "$output" >&2
  exit 1
}

# Starts the program with its standard output going through a pipe into
# $output, as a log collector would read it, and its errors into $errors;
# sets $pid. Each line must arrive when printed, while the program runs.
start_show() {
  rm -f "$scratch/stdout"
  mkfifo "$scratch/stdout"
  cat "$scratch/stdout" >"$output" &
  reader=$!
  "$program" "$@" >"$scratch/stdout" 2>"$errors" &
  pid=$!
}

# Waits until the program's window is mapped; sets $window.
wait_for_window() {
  window=""
  for _ in $(seq 1 300); do
    window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1) || true
    [ -n "$window" ] && return 0
    kill -0 "$pid" 2>/dev/null || fail "the program ended before its window appeared"
    sleep 0.1
  done
  fail "no window after 30 s"
}

# Waits for the line to appear on the program's output.
wait_for_line() {
  for _ in $(seq 1 300); do
    grep -qxF "$1" "$output" && return 0
    sleep 0.1
  done
  fail "\"$1\" did not appear"
}

# Waits for the program to end within $1 seconds; sets $status.
wait_for_exit() {
  for _ in $(seq 1 $(($1 * 10))); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid" && status=0 || status=$?
      wait "$reader" || true
      return 0
    fi
    sleep 0.1
  done
  kill -9 "$pid"
  fail "the program did not end within $1 s"
}

# Presses the "Radio" button: it sits in the lower middle of the view.
press_radio() {
  local X Y WIDTH HEIGHT SCREEN
  eval "$(xdotool getwindowgeometry --shell "$window")"
  for y in $(seq $((Y + HEIGHT * 78 / 100)) 6 $((Y + HEIGHT * 88 / 100))); do
    xdotool mousemove --sync $((X + WIDTH / 2)) "$y" click 1
  done
}

count_lines() {
  grep -cxF "$1" "$output" || true
}
