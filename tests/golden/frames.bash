# The golden frames: one small capture, and the frames of it that show each
# kind of picture. Shared by tests/program/golden_frames.sh, which compares,
# and scripts/golden-frames, which makes the references.

golden_size=160x90
# Frames every 0.5 s from -0.5 s: frame i shows show time -0.5 + 0.5 * i.
golden_capture_args=(--size "$golden_size" --from -0.5 --to 39.5 --every 50)
# name:frame index. Scene k runs from 6k s to 6k + 6 s and shows picture
# entry k mod 6 (scene 0 the waiting picture): together they show all seven.
golden_frames=(
  waiting:0          # -0.5 s: the waiting picture
  scene0:7           #  3 s: scene 0, the first picture with noise, no lines
  scene1-flagged:19  #  9 s: scene 1, a flagged station: the flap turns one way
  scene2-still:31    # 15 s: scene 2, the flap stands still
  scene3-third:43    # 21 s: scene 3, every third scene: the flap turns the other way
  scene4-fifth:55    # 27 s: scene 4, the fifth picture
  scene5-spiral:67   # 33 s: scene 5, the spiral picture with less noise
  scene6-first:79    # 39 s: scene 6, the first picture, turning the other way
)

# render_golden TOOL FOLDER: writes FOLDER/NAME.png for every golden frame.
render_golden() {
  local tool="$1" folder="$2" frames entry
  frames=$(mktemp -d)
  # A private virtual X server: no window manager to resize the small window.
  env -u DISPLAY "$tool" "${golden_capture_args[@]}" --out "$frames" >/dev/null
  mkdir -p "$folder"
  for entry in "${golden_frames[@]}"; do
    cp "$frames/$(printf 'frame-%06d.png' "${entry#*:}")" "$folder/${entry%%:*}.png"
  done
  rm -rf "$frames"
}
