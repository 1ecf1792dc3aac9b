# Presses radioshow's "Radio" button in the window $1, with xdotool. Shared
# by scripts/press-radio and the whole-program tests.
#
# The button sits in the lower middle of the view, in the seventh of eight
# grid rows. Click down a short vertical line through that row: the first
# click that lands hides the button, the others fall on the view, which
# takes no input.
click_radio_button() {
  local X Y WIDTH HEIGHT SCREEN y
  eval "$(xdotool getwindowgeometry --shell "$1")"
  for y in $(seq $((Y + HEIGHT * 78 / 100)) 6 $((Y + HEIGHT * 88 / 100))); do
    xdotool mousemove --sync $((X + WIDTH / 2)) "$y" click 1
  done
}
