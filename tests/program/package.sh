#!/usr/bin/env bash
# The Debian package made by CPack carries everything an install needs: its
# contents, unpacked into a throwaway root, hold both programs, the desktop
# entry, the icons and the manual pages, and the installed capture tool
# writes the frames of a short range from there. lintian finds no error.
set -euo pipefail
source "$(dirname "$0")/common.bash"

build=$(dirname "$program")
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/package" >"$scratch/cpack.log" 2>&1 \
  || { cat "$scratch/cpack.log" >&2; fail "cpack could not make the package"; }
deb=$(ls "$scratch"/package/radioshow_*.deb)
dpkg-deb -f "$deb" Depends | grep -q "libqt5core5a" || fail "no dependencies read off the binaries"
lintian --fail-on error "$deb" >"$scratch/lintian.log" 2>&1 || { cat "$scratch/lintian.log" >&2; fail "lintian found errors"; }

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/radioshow.desktop" || fail "the desktop entry is not valid"
for size in 48 64 128 256; do
  [ "$(identify -format %wx%h "$root/usr/share/icons/hicolor/${size}x$size/apps/radioshow.png")" = "${size}x$size" ] \
    || fail "no ${size}x$size icon"
done
for page in radioshow radioshow-capture; do
  zcat "$root/usr/share/man/man1/$page.1.gz" | grep -q "^\.SH NAME" || fail "no manual page for $page"
done
"$root/usr/bin/radioshow" --version >"$output" || fail "the installed radioshow does not answer --version"

"$root/usr/bin/radioshow-capture" --size 160x90 --from 0 --to 0.05 --every 1 --out "$scratch/frames" \
  >"$output" 2>"$scratch/capture.log" || { cat "$scratch/capture.log" >&2; fail "the installed capture tool failed"; }
for frame in 0 1 2 3 4; do
  [ "$(identify -format %wx%h "$scratch/frames/frame-00000$frame.png")" = 160x90 ] || fail "frame $frame missing"
done
[ ! -e "$scratch/frames/frame-000005.png" ] || fail "frames past the range"
echo "package $(basename "$deb"): lintian without errors, installed files present, 5 frames captured from the install"
