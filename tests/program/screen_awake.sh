#!/usr/bin/env bash
# The screen stays awake from the press to the end and is let go at the end.
# With the X screen saver set to come on after 5 s idle, it stays off for 20 s
# of show and comes on once the window was closed; a desktop's screen saver
# on a private session bus (a stand-in that logs its calls) is asked to
# inhibit at the press and to uninhibit, with the cookie it gave, at the end.
set -euo pipefail
source "$(dirname "$0")/common.bash"

python=/usr/bin/python3   # Debian's, with python3-dbus and python3-gi
dbus-daemon --session --nofork --print-address=3 3>"$scratch/bus" >/dev/null 2>&1 &
bus=$!
trap 'kill "$bus" ${service:-} ${watcher:-} 2>/dev/null; rm -rf "$output" "$scratch"' EXIT
for _ in $(seq 1 100); do [ -s "$scratch/bus" ] && break; sleep 0.1; done
[ -s "$scratch/bus" ] || fail "the private session bus did not start"
export DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$scratch/bus")
calls="$scratch/calls"
"$python" - "$calls" <<'PY' &
import sys, dbus, dbus.service, dbus.mainloop.glib
from gi.repository import GLib
dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
log = open(sys.argv[1], "a", buffering=1)
class ScreenSaver(dbus.service.Object):
    @dbus.service.method("org.freedesktop.ScreenSaver", in_signature="ss", out_signature="u")
    def Inhibit(self, application, reason): log.write("Inhibit\n"); return 4711
    @dbus.service.method("org.freedesktop.ScreenSaver", in_signature="u")
    def UnInhibit(self, cookie): log.write("UnInhibit %d\n" % cookie)
name = dbus.service.BusName("org.freedesktop.ScreenSaver", dbus.SessionBus())
ScreenSaver(dbus.SessionBus(), "/org/freedesktop/ScreenSaver")
log.write("ready\n")
GLib.MainLoop().run()
PY
service=$!
for _ in $(seq 1 100); do grep -qx ready "$calls" 2>/dev/null && break; sleep 0.1; done
grep -qx ready "$calls" 2>/dev/null || fail "the stand-in screen saver service did not start"

# Sets the X screen saver to come on after 5 s idle and writes its state
# (off, on or disabled) every 0.2 s. Its connection keeps the setting: the
# server resets it when its last client leaves.
"$python" - "$scratch/saver" <<'PY' &
import ctypes, sys, time
x, xss = ctypes.CDLL("libX11.so.6"), ctypes.CDLL("libXss.so.1")
class Info(ctypes.Structure):
    _fields_ = [("window", ctypes.c_ulong), ("state", ctypes.c_int), ("kind", ctypes.c_int),
                ("til_or_since", ctypes.c_ulong), ("idle", ctypes.c_ulong), ("mask", ctypes.c_ulong)]
x.XOpenDisplay.restype = ctypes.c_void_p
x.XSetScreenSaver.argtypes = [ctypes.c_void_p] + [ctypes.c_int] * 4
x.XDefaultRootWindow.argtypes, x.XDefaultRootWindow.restype = [ctypes.c_void_p], ctypes.c_ulong
xss.XScreenSaverQueryInfo.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(Info)]
display, info = x.XOpenDisplay(None), Info()
x.XSetScreenSaver(display, 5, 600, 1, 1)
log = open(sys.argv[1], "a", buffering=1)
while True:
    xss.XScreenSaverQueryInfo(display, x.XDefaultRootWindow(display), ctypes.byref(info))
    log.write({0: "off", 1: "on", 3: "disabled"}[info.state] + "\n")
    time.sleep(0.2)
PY
watcher=$!
saver_state() { tail -n 1 "$scratch/saver" 2>/dev/null; }
for _ in $(seq 1 100); do [ -n "$(saver_state)" ] && break; sleep 0.1; done
[ -n "$(saver_state)" ] || fail "the screen saver watcher did not start"

start_show
wait_for_window
wait_for_line "loaded everything: waiting for user action"
press_radio
wait_for_line "activating radio"
for _ in $(seq 1 40); do
  [ "$(saver_state)" != on ] || fail "the X screen saver came on during the show"
  sleep 0.5
done
grep -qx Inhibit "$calls" || fail "no Inhibit call on the session bus after the press"
"$tools/closewindow" "$pid" || fail "closewindow found no window"
wait_for_exit 20
[ "$status" -eq 0 ] || fail "exit status $status"
grep -qx "UnInhibit 4711" "$calls" || fail "no UnInhibit with the cookie on the session bus at the end"
for _ in $(seq 1 100); do [ "$(saver_state)" = on ] && break; sleep 0.2; done
[ "$(saver_state)" = on ] || fail "the X screen saver did not come on within 20 s after the end"
echo "Screen kept awake: X screen saver off through 20 s of show, on after it; Inhibit and UnInhibit on the session bus"
