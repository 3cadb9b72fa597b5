# Helpers of the end-to-end tests, sourced after $work, $faker and
# $e2e_name are set: waiting, windows, keys and the save dialog.
# shellcheck shell=sh

fail() {
    echo "e2e $e2e_name: FAILED: $*" >&2
    echo "--- windows:" >&2
    xwininfo -root -tree 2>/dev/null | grep '"' | grep -v 'has no name' >&2 || true
    echo "--- program output:" >&2
    cat "$work/out.txt" >&2 2>/dev/null || true
    exit 1
}
step() { echo "e2e $e2e_name: $*"; }

# poll SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds.
poll() {
    tries=$(($1 * 10))
    shift
    while [ "$tries" -gt 0 ]; do
        "$@" && return 0
        tries=$((tries - 1))
        sleep 0.1
    done
    return 1
}

# The id of a viewable window whose title matches the regular expression.
window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
has_window() { [ -n "$(window "$1")" ]; }
# The title the window system shows, _NET_WM_NAME in UTF-8, must be exactly
# the caption: titled WINDOW CAPTION WHAT.
titled() {
    shown=$(xprop -id "$1" _NET_WM_NAME 2>/dev/null |
        sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p')
    [ "$shown" = "$2" ] || fail "$3 is titled \"$shown\", not \"$2\""
}
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
hidden() { ! viewable "$1"; }
# faketime, the program's parent, is a zombie of ours until waited for.
running() { [ -e "/proc/$faker" ] && ! grep -q ') Z ' "/proc/$faker/stat" 2>/dev/null; }
stopped() { ! running; }

# await REGEX WHAT: waits for the window and prints its id.
await() {
    poll 30 has_window "$1" || fail "no window for $2 ($1)"
    window "$1"
}
await_gone() { poll 30 hidden "$1" || fail "$2 did not close"; }
# Keys go to the focused window: without a window manager, nobody else
# gives it the focus.
focus() { timeout 10 xdotool windowfocus --sync "$1" || fail "cannot focus $2"; }
keys() { xdotool key --delay 50 "$@"; }
typed() { xdotool type --delay 40 "$1"; }

# Names a file in Qt's own file dialog and confirms it. Return may first
# take the completer's suggestion, so it is pressed again while the dialog
# stays up.
choose_file() {
    dialog=$(await "$1" "$2")
    focus "$dialog" "$2"
    keys ctrl+a
    typed "$3"
    for _ in 1 2 3; do
        keys Return
        poll 5 hidden "$dialog" && return 0
        focus "$dialog" "$2"
    done
    fail "$2 did not take $3"
}

