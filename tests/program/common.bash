# Shared by the whole-program tests: each runs the real radioshow on a private
# 1920x1080 virtual X server and watches it from outside.

if [ -z "${RADIOSHOW_ON_TEST_SERVER:-}" ]; then
  RADIOSHOW_ON_TEST_SERVER=1 exec "$(dirname "${BASH_SOURCE[0]}")/../with-display" --private --screen 1920x1080x24 "$0" "$@"
fi

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/radiobutton.bash"

program="$1"
tools="$(dirname "$program")/tools"
output=$(mktemp)
scratch=$(mktemp -d)
errors="$scratch/errors"
trap 'rm -rf "$output" "$scratch"' EXIT

fail() {
  echo "FAIL: $*" >&2
  echo "--- program output:" >&2
  cat "$output" >&2
  if [ -s "$errors" ]; then
    echo "--- the end of its standard error:" >&2
    tail -n 20 "$errors" >&2
  fi
  exit 1
}

# Waits up to $2 seconds, checking every tenth of a second, until the
# command after them succeeds; fails naming what it waited for, $1. A
# process given in $waiting_on (default: none) that ends stops the wait.
wait_for() {
  local what="$1" seconds="$2" tries
  shift 2
  for ((tries = 0; tries < seconds * 10; tries++)); do
    "$@" && return 0
    if [ -n "${waiting_on:-}" ] && ! kill -0 "$waiting_on" 2>/dev/null; then
      "$@" && return 0
      fail "$what: the process it came from ended first"
    fi
    sleep 0.1
  done
  "$@" || fail "waited $seconds s for $what"
}

# Prints $2 when it is a decimal number, else fails naming the value ($1):
# arithmetic on an empty or garbled reading must not pass for a result.
number() {
  [[ "$2" =~ ^-?[0-9]+(\.[0-9]*)?$|^-?\.[0-9]+$ ]] || fail "$1 is not a number: \"$2\""
  echo "$2"
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

window_found() {
  window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1) || true
  [ -n "$window" ]
}

# Waits until the program's window is mapped; sets $window.
wait_for_window() {
  waiting_on=$pid wait_for "the program's window" 30 window_found
}

# Waits for the line to appear on the program's output.
wait_for_line() {
  waiting_on=$pid wait_for "\"$1\" on the program's output" 30 grep -qxF "$1" "$output"
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

press_radio() {
  click_radio_button "$window"
}

count_lines() {
  grep -cxF "$1" "$output" || true
}
