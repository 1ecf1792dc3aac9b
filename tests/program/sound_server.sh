#!/usr/bin/env bash
# The radio heard through a real sound server: a private PulseAudio server
# with a null sink (own socket and runtime folder, no system services), the
# program played into it, the sink's monitor recorded. Checked from the
# recording: silence before the press; sound after "activating radio"; a
# change at each station step; more static at a weak station (93.3 MHz, the
# second of the show) than at a strong one (102.8 MHz, the first); silence
# once the window is closed; no dropout (3 ms or more of digital silence)
# while the show draws at 1920x1080 beside two busy processes. The show's end, "stopping radio" and the
# silence after it, is checked on the capture tool's rendering of the whole
# show, which takes its sound from the same tuner.
set -euo pipefail
source "$(dirname "$0")/common.bash"

for tool in pactl parec sox bc; do
  command -v "$tool" >/dev/null || fail "$tool is missing (Debian: pulseaudio-utils sox bc; scripts/test installs them)"
done
# Debian's PulseAudio, unpacked beside the build by scripts/test where the
# machine has none of its own; either way it runs privately here.
unpacked="$(dirname "$program")/private-sound"
server_program=$(command -v pulseaudio || true)
server_libraries="${LD_LIBRARY_PATH:-}"
server_modules=()
if [ -x "$unpacked/usr/bin/pulseaudio" ]; then
  modules=$(echo "$unpacked"/usr/lib/pulse-*/modules)
  server_program="$unpacked/usr/bin/pulseaudio"
  server_libraries="$unpacked/usr/lib/x86_64-linux-gnu/pulseaudio:$modules"
  server_modules=(-p "$modules")
fi
[ -n "$server_program" ] || fail "no PulseAudio server to run privately (scripts/test unpacks one into $unpacked)"

runtime=$(mktemp -d)
recording="$runtime/monitor.raw"
server=""
recorder=""
pid=""
load=""
cleanup() {
  local process
  for process in $load $pid $recorder $server; do
    kill "$process" 2>/dev/null || true
  done
  [ -z "$server" ] || wait "$server" 2>/dev/null || true
  rm -rf "$runtime" "$output"
}
trap cleanup EXIT

export PULSE_SERVER="unix:$runtime/native" PULSE_RUNTIME_PATH="$runtime/pulse" PULSE_STATE_PATH="$runtime/state"
HOME="$runtime" LD_LIBRARY_PATH="$server_libraries" "$server_program" "${server_modules[@]}" -n --daemonize=no --system=false --use-pid-file=no --exit-idle-time=-1 \
  --high-priority=yes \
  --disallow-exit --disallow-module-loading --log-level=error \
  -L "module-null-sink sink_name=speakers rate=48000 channels=2" \
  -L "module-native-protocol-unix socket=$runtime/native auth-anonymous=1" >/dev/null 2>"$runtime/server.log" &
server=$!
server_answers() {
  pactl info >/dev/null 2>&1
}
waiting_on=$server wait_for "the private sound server to answer" 30 server_answers \
  || { cat "$runtime/server.log" >&2; exit 1; }

parec -d speakers.monitor --raw --format=s16le --rate=48000 --channels=2 --latency-msec=20 >"$recording" &
recorder=$!
# On a cold machine the recorder takes a second or two before it writes;
# the press time is read off the recording, so it must be running first.
recording_started() {
  [ -s "$recording" ]
}
waiting_on=$recorder wait_for "the recorder's first bytes" 30 recording_started

# Seconds of recording so far.
now() {
  number "seconds recorded" "$(echo "scale=3; $(stat -c %s "$recording") / 192000" | bc)"
}

wait_until() {
  while [ "$(echo "$(now) < $1" | bc)" -eq 1 ]; do
    kill -0 "$pid" 2>/dev/null || fail "the program ended at $(now) s of recording"
    sleep 0.1
  done
}

# "RMS lev dB" (or with $4 "Pk lev dB") of the recording from $1 to $2 s
# through the sox effect $3 (a band, or nothing).
level() {
  number "the ${4:-RMS} level from $1 to $2 s ${3:-}" "$(sox -t raw -r 48000 -e signed -b 16 -c 2 "$recording" -n \
    trim "$1" "=$2" ${3:-} stats 2>&1 | awk -v what="${4:-RMS}" '$1 == what && $2 == "lev" { print ($4 == "-inf") ? -200 : $4 }')"
}

above() {
  [ "$(echo "$(number "a level" "$1") > $(number "a level" "$2")" | bc)" -eq 1 ]
}

bands=("sinc -300" "sinc 300-1200" "sinc 1200-5000" "sinc 5000-15000")
# The largest change, dB, in the level of any band between two stretches.
band_change() {
  local largest=0 band first second change
  for band in "${bands[@]}"; do
    first=$(level "$1" "$2" "$band")
    second=$(level "$3" "$4" "$band")
    change=$(echo "$first - $second" | bc | tr -d -)
    above "$change" "$largest" && largest=$change
  done
  echo "$largest"
}

start_show
wait_for_window
wait_for_line "loaded everything: waiting for user action"
sleep 1.5
before=$(now)
press_radio
wait_for_line "activating radio"
# Two processes that want a core each: the sound must not wait for frames.
for _ in 1 2; do
  yes >/dev/null &
  load="$load $!"
done
# The first station plays from the press, the next at 6 s and 12 s.
wait_until "$(echo "$(now) + 17" | bc)"
asked=$(now)
"$tools/closewindow" "$pid" >/dev/null 2>&1 || fail "could not ask the window to close"
wait_for_exit 30
[ "$status" -eq 0 ] || fail "exit status $status after the close"
closed=$(now)
kill $load
load=""
sleep 1
kill "$recorder"
wait "$recorder" 2>/dev/null || true
recorder=""

# The radio comes on with a burst of tuning static: the stations' times
# count from there.
total=$(now)
quiet=$(sox -t raw -r 48000 -e signed -b 16 -c 2 "$recording" -n trim "$before" silence 1 0.002 -50d stat 2>&1 \
  | awk '/^Length/ { print $3 }')
[ -n "$quiet" ] || fail "no sound at all after the press"
quiet=$(number "the length of the recording after the silence" "$quiet")
on=$(echo "$total - $quiet" | bc)
at() {
  echo "$on + $1" | bc
}

silent_before=$(level 0.2 "$before" "" Pk)
above "$silent_before" -70 && fail "sound before the press: peak $silent_before dB"
first=$(level "$(at 1)" "$(at 4.5)")
above "$first" -40 || fail "no sound after \"activating radio\": $first dB"
for step in 6 12; do
  change=$(band_change "$(at "$step - 4")" "$(at "$step - 1")" "$(at "$step + 1.5")" "$(at "$step + 4.5")")
  above "$change" 3 || fail "the sound hardly changes at the station step at $step s: at most $change dB in any band"
done
strong_static=$(level "$(at 1)" "$(at 4.5)" "sinc 12000-15000")
weak_static=$(level "$(at 7.5)" "$(at 11)" "sinc 12000-15000")
above "$weak_static" "$(echo "$strong_static + 10" | bc)" \
  || fail "static at the weak station ($weak_static dB) is not well above the strong one's ($strong_static dB)"
silent_after=$(level "$(echo "$closed + 0.3" | bc)" "$(echo "$closed + 0.9" | bc)" "" Pk)
above "$silent_after" -70 && fail "sound after the program ended: peak $silent_after dB"
echo "press at $before s, radio on at $on s: $first dB; static strong $strong_static dB, weak $weak_static dB"

# Runs of at least 3 ms (144 frames) in which both channels are exactly 0,
# from just after the radio came on to just before the close.
from=$(echo "($(at 0.3) * 48000) / 1" | bc)
to=$(echo "(($asked - 0.2) * 48000) / 1" | bc)
read -r gaps longest < <(tail -c +$((from * 4 + 1)) "$recording" | head -c $(((to - from) * 4)) \
  | od -An -v -t d2 -w4 | awk '
    $1 == 0 && $2 == 0 { run++; next }
    { if (run >= 144) { gaps++; if (run > longest) longest = run } run = 0 }
    END { if (run >= 144) { gaps++; if (run > longest) longest = run } print gaps + 0, longest + 0 }')
gaps=$(number "the count of dropouts" "$gaps")
longest=$(number "the longest dropout" "$longest")
fps=$(sed -n 's/^time elapsed: .*fps: //p' "$output")
[ "$gaps" -eq 0 ] || fail "$gaps dropouts under load, the longest $((longest / 48)) ms (at ${fps:-?} fps)"
echo "no dropout in $(echo "($to - $from) / 48000" | bc) s under load at ${fps:-?} fps"

# The whole show's sound from the capture tool: the radio plays to the end
# and is silent after "stopping radio" (tick 1498, 149.8 s after the press).
whole="$runtime/show.wav"
"$tools/radioshow-capture" --size 64x36 --out "$whole" >"$output" 2>"$runtime/capture.log" \
  || { cat "$runtime/capture.log" >&2; fail "the capture tool failed"; }
grep -qxF "stopping radio" "$output" || fail "the captured show did not stop the radio"
recording="$whole"
level() {
  number "the captured ${4:-RMS} level from $1 to $2 s" "$(sox "$recording" -n trim "$1" "=$2" ${3:-} stats 2>&1 \
    | awk -v what="${4:-RMS}" '$1 == what && $2 == "lev" { print ($4 == "-inf") ? -200 : $4 }')"
}
last=$(level 148.5 149.7)
above "$last" -40 || fail "the captured radio is quiet before its end: $last dB"
stopped=$(level 149.85 150 "" Pk)
above "$stopped" -200 && fail "sound after \"stopping radio\" in the capture: peak $stopped dB"
echo "captured show: $last dB before \"stopping radio\", silence after"
