#!/usr/bin/env bash
# The show draws as it did when the reference frames in tests/golden/ were
# made: each frame, captured again on the virtual clock, may differ from its
# reference in at most maxPixels pixels by more than fuzz (the colour distance
# as a share of the largest). A failure leaves the new frames and pictures of
# the differences in BUILD_DIR/golden-diff/. After a deliberate change to the
# drawing, make new references with scripts/golden-frames.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/golden/frames.bash"

program="$1"
tool="$(dirname "$program")/tools/radioshow-capture"
diffs="$(dirname "$program")/golden-diff"
fuzz=3%
maxPixels=72   # 0.5% of 160x90

actual=$(mktemp -d)
trap 'rm -rf "$actual"' EXIT
render_golden "$tool" "$actual"

rm -rf "$diffs"
failed=0
for entry in "${golden_frames[@]}"; do
  name=${entry%%:*}
  differing=$(compare -metric AE -fuzz "$fuzz" "$root/tests/golden/$name.png" "$actual/$name.png" \
    "$actual/$name-diff.png" 2>&1 >/dev/null) || [ $? -eq 1 ]
  differing=$(printf "%.0f" "${differing%% *}")
  if [ "$differing" -gt "$maxPixels" ]; then
    mkdir -p "$diffs"
    cp "$actual/$name.png" "$diffs/$name-actual.png"
    cp "$actual/$name-diff.png" "$diffs/$name-diff.png"
    echo "FAIL: $name: $differing pixels differ by more than $fuzz (at most $maxPixels may);" \
      "see $diffs/$name-actual.png and $diffs/$name-diff.png" >&2
    failed=1
  else
    echo "$name: $differing pixels beyond $fuzz"
  fi
done
exit "$failed"
