#!/usr/bin/env bash
# On a display whose GL is older than 2.0 the program says so in one line and
# exits non-zero instead of crashing. Mesa is told to offer GL 1.4 only.
set -euo pipefail
source "$(dirname "$0")/common.bash"

MESA_GL_VERSION_OVERRIDE=1.4 timeout 30 "$program" >"$output" 2>/dev/null && status=0 || status=$?
[ "$status" -eq 1 ] || fail "exit status $status, not 1"
[ "$(wc -l <"$output")" -eq 1 ] || fail "not exactly one line"
grep -qx "no OpenGL 2.0 or OpenGL ES 2.0 on this display: cannot show anything" "$output" || fail "not the line that says why"
echo "one line, exit status 1"
