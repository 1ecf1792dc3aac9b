#!/usr/bin/env bash
# On a Wayland compositor with no X server (WAYLAND_DISPLAY set, DISPLAY not)
# the program picks Qt's wayland platform by itself, announces that it waits
# for the user through a pipe, shows the waiting picture with the button over
# it on the screen, and ends cleanly on SIGTERM. The compositor is a headless
# Weston of the test's own, with its software renderer and desktop shell; its
# debug extension lets weston-screenshooter read the screen.
set -euo pipefail
source "$(dirname "$0")/common.bash"

unset DISPLAY QT_QPA_PLATFORM
export XDG_RUNTIME_DIR="$scratch/runtime"
export WAYLAND_DISPLAY=radioshow-test
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston --backend=headless-backend.so --use-pixman --shell=desktop-shell.so --debug --idle-time=0 \
  --width=1280 --height=720 \
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

# The mean colour of the middle of a picture, as "R G B" from 0 to 255.
middle_colour() {
  convert "$1" -gravity center -crop 40%x40%+0+0 +repage -resize '1x1!' \
    -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:
}
# The lightest row of the band where the button sits over the view (the
# middle fifth of the width, 78 to 88 % of the height), as the row's darkest
# channel: the button's face is near white, the picture beneath it orange.
button_face() {
  local width height
  read -r width height <<<"$(identify -format '%w %h' "$1")"
  convert "$1" -crop "$((width / 5))x$((height / 10))+$((width * 2 / 5))+$((height * 78 / 100))" +repage \
    -resize '1x12!' -depth 8 txt: |
    awk -F'[(),]' 'NR > 1 { low = $3; if ($4 < low) low = $4; if ($5 < low) low = $5; if (low > best) best = low }
      END { print best + 0 }'
}
# The view stretches the waiting picture over the window: its middle shows
# the middle of the picture, which no other picture and no black resembles.
read -r wantR wantG wantB <<<"$(middle_colour "$(dirname "$0")/../../app/pictures/bkg_dude.png")"
seen="no screenshot"
shown=""
for attempt in $(seq 1 40); do
  mkdir "$scratch/shot$attempt"
  (cd "$scratch/shot$attempt" && timeout 10 weston-screenshooter) >/dev/null 2>&1 || true
  shot=$(ls "$scratch/shot$attempt"/*.png 2>/dev/null | head -n 1) || true
  if [ -n "$shot" ]; then
    read -r r g b <<<"$(middle_colour "$shot")"
    face=$(button_face "$shot")
    seen="$r $g $b in the middle, a button face of $face"
    if [ $(((r - wantR) ** 2 + (g - wantG) ** 2 + (b - wantB) ** 2)) -le $((24 ** 2)) ] && [ "$face" -ge 220 ]; then
      shown=yes
      break
    fi
  fi
  sleep 0.5
done
[ -n "$shown" ] ||
  fail "the screen never showed the waiting picture ($wantR $wantG $wantB in the middle) with the button over it: last seen $seen"
kill -TERM "$pid"
wait_for_exit 20
[ "$status" -eq 0 ] || { cat "$errors" >&2; fail "exit status $status after SIGTERM"; }
grep -q "^time elapsed" "$output" && fail "a statistics line without a show"
echo "Wayland: ready line through a pipe, the waiting picture and the button on the screen, exit 0 on SIGTERM"
