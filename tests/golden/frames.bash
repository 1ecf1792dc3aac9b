# The golden frames: one small capture, and the frames of it that show each
# kind of picture. Shared by tests/program/golden_frames.sh, which compares,
# scripts/golden-frames, which makes the references, and the arm64 and
# OpenGL ES checks (scripts/check-arm64, scripts/check-gles).

golden_folder="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

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

# Each frame, captured again on the virtual clock, may differ from its
# reference in at most golden_max_pixels pixels by more than golden_fuzz (the
# colour distance as a share of the largest).
golden_fuzz=3%
golden_max_pixels=72   # 0.5% of 160x90

# render_golden FOLDER COMMAND...: runs COMMAND, the capture tool (perhaps
# under an emulator or with other libraries), with the golden capture's
# options and writes FOLDER/NAME.png for every golden frame.
render_golden() {
  local folder="$1" frames entry
  shift
  frames=$(mktemp -d)
  "$@" "${golden_capture_args[@]}" --out "$frames" >/dev/null || { rm -rf "$frames"; return 1; }
  mkdir -p "$folder"
  for entry in "${golden_frames[@]}"; do
    cp "$frames/$(printf 'frame-%06d.png' "${entry#*:}")" "$folder/${entry%%:*}.png" || { rm -rf "$frames"; return 1; }
  done
  rm -rf "$frames"
}

# compare_golden FOLDER DIFFS [NAME=PIXELS...]: compares the frames in FOLDER
# with the references, allowing the named frames PIXELS differing pixels
# instead of golden_max_pixels. Prints a line per frame; a failure leaves the
# frame and a picture of the differences in DIFFS and returns 1.
compare_golden() {
  local folder="$1" diffs="$2" entry name override allowed differing failed=0
  shift 2
  rm -rf "$diffs"
  for entry in "${golden_frames[@]}"; do
    name=${entry%%:*}
    allowed=$golden_max_pixels
    for override in "$@"; do
      [ "${override%%=*}" = "$name" ] && allowed=${override#*=}
    done
    differing=$(compare -metric AE -fuzz "$golden_fuzz" "$golden_folder/$name.png" "$folder/$name.png" \
      "$folder/$name-diff.png" 2>&1 >/dev/null) || [ $? -eq 1 ]
    differing=$(printf "%.0f" "${differing%% *}")
    if [ "$differing" -gt "$allowed" ]; then
      mkdir -p "$diffs"
      cp "$folder/$name.png" "$diffs/$name-actual.png"
      cp "$folder/$name-diff.png" "$diffs/$name-diff.png"
      echo "FAIL: $name: $differing pixels differ by more than $golden_fuzz (at most $allowed may);" \
        "see $diffs/$name-actual.png and $diffs/$name-diff.png" >&2
      failed=1
    else
      echo "$name: $differing pixels beyond $golden_fuzz (at most $allowed)"
    fi
  done
  return "$failed"
}
