#!/usr/bin/env bash
# The show draws as it did when the reference frames in tests/golden/ were
# made, within the tolerance that tests/golden/frames.bash states. A failure
# leaves the new frames and pictures of the differences in
# BUILD_DIR/golden-diff/. After a deliberate change to the drawing, make new
# references with scripts/golden-frames.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tests/golden/frames.bash"

program="$1"
tool="$(dirname "$program")/tools/radioshow-capture"

actual=$(mktemp -d)
trap 'rm -rf "$actual"' EXIT
# A private virtual X server: no window manager to resize the small window.
render_golden "$actual" env -u DISPLAY "$tool"
compare_golden "$actual" "$(dirname "$program")/golden-diff"
