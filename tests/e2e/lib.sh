# Helpers of the end-to-end tests: running under Xvfb, a home of their own,
# waiting, windows, keys and the save dialog. Sourced with $e2e_name set.
# shellcheck shell=sh

# own_display WIDTHxHEIGHTxDEPTH: starts an X server of our own and exports
# DISPLAY; $xserver is its id. The server takes the first display whose
# sockets it can claim (-displayfd), so tests run at once, in this tree or
# another, never share a display or end another's. It never resets: an X
# server resets whenever its last client leaves, and refuses a client that
# connects meanwhile, as the program starting while xdotool looks for its
# window does.
own_display() {
    displayed=$(mktemp)
    Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 "$1" 3>"$displayed" 2>/dev/null &
    xserver=$!
    # It writes the number once it takes connections.
    if ! poll 30 test -s "$displayed"; then
        echo "e2e $e2e_name: FAILED: Xvfb did not start" >&2
        exit 1
    fi
    DISPLAY=":$(cat "$displayed")"
    export DISPLAY
    rm -f "$displayed"
}

# in_xvfb "$@": the first time, runs the script again on an X server of its
# own and exits with its status; inside that run, returns.
in_xvfb() {
    if [ $# -ne 1 ]; then
        echo "usage: $0 path/to/vorn" >&2
        exit 2
    fi
    [ -n "${VORN_IN_XVFB:-}" ] && return 0
    own_display 1024x768x24
    trap 'kill "$xserver" 2>/dev/null || true' EXIT
    status=0
    VORN_IN_XVFB=1 sh "$0" "$@" || status=$?
    exit "$status"
}

# Sets $vorn, $work (removed at exit), $log and $conf, and points HOME and
# the XDG folders into $work.
set_up() {
    vorn=$(realpath "$1")
    work=$(mktemp -d "${TMPDIR:-/tmp}/vorn-e2e.XXXXXX")
    export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run"
    mkdir -p "$HOME" "$XDG_CONFIG_HOME/Tav" "$XDG_RUNTIME_DIR" "$work/logs"
    chmod 700 "$XDG_RUNTIME_DIR"
    export TZ=UTC QT_QPA_PLATFORM=xcb
    # A sanitizer build must accept preloaded libraries ahead of its runtime.
    export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}:verify_asan_link_order=0"
    log="$work/logs/data.txt"
    conf="$XDG_CONFIG_HOME/Tav/Vorn2.conf"
    faker=""
    app=""
    trap clean_up EXIT
}
clean_up() {
    # faketime runs the program as its child: end both, by their ids.
    [ -n "$app" ] && kill -9 "$app" 2>/dev/null || true
    [ -n "$faker" ] && kill -9 "$faker" 2>/dev/null || true
    rm -rf "$work"
}

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

# await REGEX WHAT: waits for the window and prints its id. It stops
# waiting as soon as the program ends (stopped, which each script defines
# for the process it runs), and then says so with the program's output.
shown_or_ended() { has_window "$1" || stopped; }
await() {
    poll 30 shown_or_ended "$1" || fail "no window for $2 ($1)"
    has_window "$1" || fail "the program ended before showing $2 ($1)"
    window "$1"
}
await_gone() { poll 30 hidden "$1" || fail "$2 did not close"; }
# Keys go to the focused window: without a window manager, nobody else
# gives it the focus.
focus() { timeout 10 xdotool windowfocus --sync "$1" || fail "cannot focus $2"; }
keys() { xdotool key --delay 50 "$@"; }
typed() { xdotool type --delay 40 "$1"; }

# Types height 170, weight 65 and fat 20 into the main window, each with Return.
weigh_in() {
    focus "$main" "the main window"
    typed 170
    keys Return
    typed 65
    keys Return
    typed 20
    keys Return
}

# Sets a weight target of 65 kg through the targets dialog, then gives the
# main window the focus again.
set_weight_target() {
    focus "$main" "the main window"
    keys ctrl+t
    targets=$(await '^目標値設定' "the targets dialog")
    titled "$targets" "目標値設定" "the targets dialog"
    focus "$targets" "the targets dialog"
    # --sync waits for the pointer to move: it must start elsewhere.
    xdotool mousemove 0 0
    # The weight row's check box has no mnemonic: click it (the dialog has a
    # fixed layout, with the box at 8,42, 81×17).
    timeout 10 xdotool mousemove --window "$targets" --sync 14 50 click 1 ||
        fail "cannot click the weight check box"
    typed 65
    keys alt+s
    await_gone "$targets" "the targets dialog"
    focus "$main" "the main window"
}

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

