#!/bin/sh
# End-to-end smoke test of the real program, under Xvfb with a fixed clock:
# weigh in and save through the save dialog, check the log's bytes, open the
# graph from the open dialog, set a weight target through the dialog, quit
# with Ctrl+Q, then check the settings file and the exit code.
#
# Usage: tests/e2e/smoke.sh path/to/vorn
# Needs Xvfb, xdotool, faketime, xwininfo, xprop, python3 and Linux's /proc.
# Every wait polls with a time limit, so a step that goes wrong fails the
# test instead of hanging it.
set -eu
# Window titles are read as UTF-8, whatever the caller's locale.
export LC_ALL=C.UTF-8

e2e_name=smoke
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"
in_xvfb "$@"
set_up "$1"

# Asks a window to close, as a window manager's close button does: the
# WM_DELETE_WINDOW message of the ICCCM. Without a window manager there is
# no other way to close a window that ignores Escape.
close_window() {
    python3 - "$1" <<'EOF' || fail "cannot send WM_DELETE_WINDOW"
import ctypes
import sys

x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XInternAtom.restype = ctypes.c_ulong
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                           ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class Event(ctypes.Union):
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]


display = x11.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
event = Event()
event.xclient.type = 33  # ClientMessage
event.xclient.window = int(sys.argv[1])
event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
event.xclient.format = 32
event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
event.xclient.data[1] = 0  # CurrentTime
if not x11.XSendEvent(display, event.xclient.window, 0, 0, ctypes.byref(event)):
    sys.exit("XSendEvent failed")
x11.XFlush(display)
x11.XCloseDisplay(display)
EOF
}

step "starting $vorn at 2026-08-30 20:15"
faketime -m -f "@2026-08-30 20:15:00" "$vorn" >"$work/out.txt" 2>&1 &
faker=$!
main=$(await '^Vorn２$' "the main window")
app=$(xdotool getwindowpid "$main" 2>/dev/null || true)
titled "$main" "Vorn２" "the main window"
# The window came up, and took its icon, without reading an SVG or loading
# the printer: the toolbar and the icon are the build's drawings, and the SVG
# writer and the printer wait for their first use.
has_icon() { xprop -id "$main" _NET_WM_ICON 2>/dev/null | grep -q '= '; }
poll 30 has_icon || fail "the main window has no icon"
if [ -n "$app" ] && grep -E 'libqsvgicon|libQt6PrintSupport|libvorn_paper' "/proc/$app/maps"; then
    fail "starting the program loaded the libraries above"
fi

step "weighing in: 170 cm, 65 kg, 20 %"
weigh_in
keys ctrl+s
choose_file '保存|Save' "the save dialog" "$log"
box=$(await '^確認ﾍﾙﾌﾟ' "the saved message")
titled "$box" "確認ﾍﾙﾌﾟ" "the saved message"
focus "$box" "the saved message"
keys Return
await_gone "$box" "the saved message"

expected=" 83020 170.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23"
[ -f "$log" ] || fail "no log at $log"
printf '%s\n' "$expected" >"$work/expected.txt"
cmp -s "$log" "$work/expected.txt" || fail "the log holds: $(od -c "$log" | head -n 8)"

step "opening the graph"
focus "$main" "the main window"
keys ctrl+g
choose_file '開く|Open' "the open dialog" "$log"
graph=$(await '^種類別測定グラフ' "the graph window")
titled "$graph" "種類別測定グラフ" "the graph window"
close_window "$graph"
await_gone "$graph" "the graph window"

step "setting a weight target of 65 kg"
set_weight_target

step "quitting with Ctrl+Q"
focus "$main" "the main window"
keys ctrl+q
poll 30 stopped || fail "the program did not end after Ctrl+Q"
status=0
wait "$faker" || status=$?
faker=""
app=""
[ "$status" -eq 0 ] || fail "the program ended with status $status"

[ -f "$conf" ] || fail "no settings file at $conf"
grep -qx '\[TGT\]' "$conf" || fail "no [TGT] section in $conf"
for k in 1 2 3 4 5 6 7 8 9; do
    grep -q "^VAL$k=" "$conf" || fail "no VAL$k in $conf"
done
grep -qx 'VAL2=65.00' "$conf" || fail "VAL2 is not 65.00 in $conf: $(cat "$conf")"

step "passed"
