#!/bin/sh
# Renders the main window under Xvfb into the README's screenshots:
# empty, then after typing 170, 65 and 20 with Enter.
# Usage: scripts/screenshots.sh path/to/vorn output-folder
set -eu
vorn=$(realpath "$1")
out=$(realpath "$2")
if [ -z "${VORN_IN_XVFB:-}" ]; then
    VORN_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$@"
fi
home=$(mktemp -d)
trap 'kill $pid 2>/dev/null || true; rm -rf "$home"' EXIT
HOME=$home XDG_CONFIG_HOME=$home/.config "$vorn" &
pid=$!
win=""
for _ in $(seq 50); do
    win=$(xdotool search --sync --limit 1 --name "Vorn２" 2>/dev/null | head -n1) && [ -n "$win" ] && break
    sleep 0.2
done
sleep 1
xdotool windowfocus --sync "$win"
shot() { import -window "$win" "$out/$1"; }
shot main-window.png
xdotool type --delay 50 170; xdotool key Return
xdotool type --delay 50 65; xdotool key Return
xdotool type --delay 50 20; xdotool key Return
sleep 0.5
shot main-window-measured.png
