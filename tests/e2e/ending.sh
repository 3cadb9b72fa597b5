#!/bin/sh
# End-to-end test of what a window manager takes part in, under Xvfb and
# openbox at twice the usual scale on a 1280×1024 screen: each window opens
# within the screen; Escape answers a box with OK, but a Yes/No question
# ignores Escape and Alt+F4 and takes Alt+N; targets set
# with 設定完了 are written back when the main window is closed by Alt+F4
# (the window manager's close, as its close box does), when the program is
# sent SIGTERM, and when the X server goes away, as at the end of a session.
#
# Usage: tests/e2e/ending.sh path/to/vorn
# Needs Xvfb, openbox, xdotool, xwininfo, xprop. Every wait polls with a
# time limit, so a step that goes wrong fails the test instead of hanging it.
set -eu
export LC_ALL=C.UTF-8

if [ $# -ne 1 ]; then
    echo "usage: $0 path/to/vorn" >&2
    exit 2
fi
vorn=$(realpath "$1")
work=$(mktemp -d "${TMPDIR:-/tmp}/vorn-e2e.XXXXXX")
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
conf="$XDG_CONFIG_HOME/Tav/Vorn2.conf"
log="$work/data.txt"
printf ' 83020 170.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23\n' >"$log"

app=""
servers=""
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null || true
    for pid in $servers; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

e2e_name=ending
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"
running() { [ -e "/proc/$app" ] && ! grep -q ') Z ' "/proc/$app/stat" 2>/dev/null; }
stopped() { ! running; }
# The window manager gives the focus, as a click on the window would.
activate() { timeout 10 xdotool windowactivate --sync "$1" >/dev/null 2>&1 || fail "cannot activate $2"; }

# fits WINDOW WHAT: the window and the frame openbox draws lie on the screen.
fits() {
    geometry=$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}')
    extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ,)
    set -- $geometry ${extents:-0 0 0 0} "$2"
    [ "$(($1 - $5))" -ge 0 ] && [ "$(($2 - $7))" -ge 0 ] &&
        [ "$(($1 + $3 + $6))" -le 1280 ] && [ "$(($2 + $4 + $8))" -le 1024 ] ||
        fail "$9 lies off the 1280×1024 screen: at $1,$2, $3×$4, frame $5 $6 $7 $8"
}

# start: the program, its main window active.
start() {
    "$vorn" >"$work/out.txt" 2>&1 &
    app=$!
    main=$(await '^Vorn２$' "the main window")
    fits "$main" "the main window"
    activate "$main" "the main window"
}
# set_target ROW VALUE: ticks the row of the targets dialog (1 height,
# 2 weight), types the value and confirms with 設定完了.
set_target() {
    activate "$main" "the main window"
    keys ctrl+t
    targets=$(await '^目標値設定' "the targets dialog")
    fits "$targets" "the targets dialog"
    activate "$targets" "the targets dialog"
    # Row n's check box is at 8,18+24(n-1), 81×17: twice as large here.
    timeout 10 xdotool mousemove --window "$targets" --sync 28 $((2 * (26 + 24 * ($1 - 1)))) \
        click 1 || fail "cannot click the check box of row $1"
    typed "$2"
    keys alt+s
    await_gone "$targets" "the targets dialog"
}
# ended STEP: the program has ended, with status 0.
ended() {
    poll 30 stopped || fail "the program did not end after $1"
    status=0
    wait "$app" || status=$?
    app=""
    [ "$status" -eq 0 ] || fail "the program ended with status $status after $1"
}
# target_is KEY VALUE STEP
target_is() {
    grep -qx "$1=$2" "$conf" 2>/dev/null || fail "$1 is not $2 after $3: $(cat "$conf" 2>&1)"
}

# size_of WINDOW: its width and height, as the X server has them.
size_of() { xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}'; }
sized() { [ "$(size_of "$1")" = "$2" ]; }
# user_time WINDOW: the time of the last key the program took in the window,
# which it writes as _NET_WM_USER_TIME (on its user-time window, if any).
user_time() {
    holder=$(xprop -id "$1" _NET_WM_USER_TIME_WINDOW 2>/dev/null | sed -n 's/.*window id # //p')
    xprop -id "${holder:-$1}" _NET_WM_USER_TIME 2>/dev/null | sed -n 's/.* = //p'
}
took_key() { now=$(user_time "$1") && [ -n "$now" ] && [ "$now" != "$2" ]; }
# settled WINDOW WHAT: the program has handled everything that came before a
# Shift pressed in the focused WINDOW (the program takes events in order).
settled() {
    before=$(user_time "$1")
    keys shift
    poll 30 took_key "$1" "$before" ||
        fail "$2 $(if viewable "$1"; then echo took no key; else echo closed; fi)"
}

# display: an X server of our own on a free display (Xvfb picks it), with
# openbox managing it; DISPLAY names it, $xserver is its id.
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
display() {
    own_display 1280x1024x24
    servers="$servers $xserver"
    openbox --sm-disable >/dev/null 2>&1 &
    servers="$servers $!"
    poll 30 wm_ready || fail "openbox did not start"
}

display

step "the windows fit the screen at QT_SCALE_FACTOR=2"
start
keys ctrl+h
help=$(await '^Vorn２ ヘルプ$' "the help window")
fits "$help" "the help window"
activate "$help" "the help window"
keys alt+F4
await_gone "$help" "the help window"
activate "$main" "the main window"
keys ctrl+g
dialog=$(await '開く|Open' "the open dialog")
fits "$dialog" "the open dialog"
activate "$dialog" "the open dialog"
keys ctrl+a
typed "$log"
keys Return
graph=$(await '^種類別測定グラフ' "the graph window")
fits "$graph" "the graph window"
activate "$graph" "the graph window"
folded=$(size_of "$graph")
keys alt+a
poll 30 eval '! sized "$graph" "$folded"' || fail "the graph window did not unfold"
fits "$graph" "the unfolded graph window"
keys alt+F4
await_gone "$graph" "the graph window"

step "a box with OK takes Escape as OK; a Yes/No question ignores Escape and Alt+F4"
activate "$main" "the main window"
keys ctrl+s
box=$(await '^警告ﾍﾙﾌﾟ$' "the warning")
activate "$box" "the warning"
keys Escape
await_gone "$box" "the warning"
activate "$main" "the main window"
for value in 170 65 20; do
    typed "$value"
    keys Return
done
keys ctrl+g
box=$(await '^保存ﾍﾙﾌﾟ$' "the save question")
activate "$box" "the save question"
keys Escape
settled "$box" "the save question"
# Alt goes to the program, F4 to the window manager, which asks the program
# to close the box before the Shift that settled sends.
before=$(user_time "$box")
keys alt+F4
poll 30 took_key "$box" "$before" || fail "the save question took no Alt"
settled "$box" "the save question"
viewable "$box" || fail "Alt+F4 answered the save question"
keys alt+n
await_gone "$box" "the save question"
# No save, and the graph of the log opened before. Enlarged through the
# window manager, it keeps its size (in pixels of the doubled scale).
graph=$(await '^種類別測定グラフ' "the graph window")
activate "$graph" "the graph window"
xdotool windowsize "$graph" 1100 800
poll 30 sized "$graph" "1100 800" || fail "the graph window was not enlarged"
settled "$graph" "the graph window"
keys alt+F4
await_gone "$graph" "the graph window"
grep -qx "WIDTH=550" "$conf" || fail "the graph window's size was not kept: $(cat "$conf")"

step "Alt+F4 on the main window asks about the measurement on display, then keeps the targets"
set_target 2 65
activate "$main" "the main window"
keys alt+F4
box=$(await '^保存ﾍﾙﾌﾟ$' "the save question of Alt+F4")
activate "$box" "the save question"
keys alt+n
ended "Alt+F4"
target_is VAL2 65.00 "Alt+F4"

step "SIGTERM keeps the targets"
start
set_target 1 170
kill -TERM "$app"
ended "SIGTERM"
target_is VAL1 170.00 "SIGTERM"
target_is VAL2 65.00 "SIGTERM"

step "the end of the X server keeps the targets, and the graph window's size"
start
set_target 3 20
# The open dialog of this new run offers the log loaded in an earlier one.
activate "$main" "the main window"
keys ctrl+g
dialog=$(await '開く|Open' "the open dialog")
activate "$dialog" "the open dialog"
keys Return
graph=$(await '^種類別測定グラフ' "the graph window")
activate "$graph" "the graph window"
xdotool windowsize "$graph" 1200 900
poll 30 sized "$graph" "1200 900" || fail "the graph window was not enlarged"
settled "$graph" "the graph window"
kill "$xserver"
poll 30 stopped || fail "the program did not end with its X server"
wait "$app" || true
app=""
target_is VAL3 20.00 "the end of the X server"
target_is WIDTH 600 "the end of the X server"

step "passed"
