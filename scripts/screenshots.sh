#!/bin/sh
# Renders the README's screenshots under Xvfb: the main window empty, then
# after typing 170, 65 and 20 with Enter; then the graph window with the trend,
# and on a calendar.
# Usage: scripts/screenshots.sh path/to/vorn output-folder
set -eu
vorn=$(realpath "$1")
out=$(realpath "$2")
if [ -z "${VORN_IN_XVFB:-}" ]; then
    VORN_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$@"
fi
# first_window REGEX: the id of a window whose name matches, within 10 s.
first_window() {
    for _ in $(seq 50); do
        found=$(xdotool search --limit 1 --name "$1" 2>/dev/null | head -n1) && [ -n "$found" ] &&
            echo "$found" && return 0
        sleep 0.2
    done
    return 1
}
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

# record N STAMP WEIGHT_AND_FAT: appends to $log the record of weigh-in N at
# STAMP, the awk statements setting w (kg) and f (%) from n and stamp, and
# the other quantities worked out from them for 170 cm.
record() {
    awk -v n="$1" -v stamp="$2" "BEGIN {
        $3
        fm = w * f / 100; lean = w - fm; std = 1.7 * 1.7 * 22
        printf \" %d 170.00 %.2f %.2f %.2f %.2f %.2f %.2f %.2f %.2f\\n\", stamp, w, f, fm, lean,
            lean * 0.732, std, w / (1.7 * 1.7), (w - std) / std * 100
    }" >>"$log"
}

# open_graph LOG: the program started on 9 December 2026 at 8 h, LOG opened
# by Ctrl+G; $pid is the program's (faketime's), $graph the graph window.
open_graph() {
    faketime -f "@2026-12-09 08:00:00" env HOME="$home" XDG_CONFIG_HOME="$home/.config" "$vorn" &
    pid=$!
    win=$(first_window "^Vorn２$")
    sleep 1
    xdotool windowfocus --sync "$win"
    xdotool key ctrl+g
    dialog=$(first_window "開く|Open")
    xdotool windowfocus --sync "$dialog"
    xdotool key ctrl+a
    xdotool type --delay 20 "$1"
    xdotool key Return
    graph=$(first_window "種類別測定グラフ")
}

# The graph window with the trend: eight weeks of weigh-ins, each morning or
# two, towards a 60 kg target, read on 9 December 2026 at 8 h. The weight
# column in view, the trend shown as a choice kept from an earlier run.
kill $pid 2>/dev/null || true
wait $pid 2>/dev/null || true
mkdir -p "$home/.config/Tav"
printf '[TGT]\nVAL2=60.00\n[GRAPH]\nTREND=1\n' >"$home/.config/Tav/Vorn2.conf"
log=$home/data.txt
for n in $(seq 0 37); do
    day=$(date -u -d "2026-10-14 +$((n * 3 / 2)) days" +%m%d)
    record "$n" "${day}07" 'w = 66.4 - n * 0.075 + 0.55 * sin(n * 2.3) + 0.3 * cos(n * 5.1)
        f = 21.5 - n * 0.04 + 0.4 * sin(n * 1.7)'
done
open_graph "$log"
sleep 0.5
# 体重, the second quantity button from the top.
xdotool mousemove --window "$graph" 40 55 click 1
sleep 1
xdotool mousemove --window "$graph" 0 0
sleep 0.3
import -window "$graph" "$out/graph-window-trend.png"

# The graph window on a calendar, 1年 picked: fourteen months of weigh-ins,
# some days twice, with a three-week holiday without any; the weights and
# their trend, as choices kept from an earlier run. The program runs as
# faketime's child: that child is ended first, and has written its settings
# before ours are.
for child in $(ps -o pid= --ppid "$pid"); do
    kill "$child" 2>/dev/null || true
    while kill -0 "$child" 2>/dev/null; do sleep 0.1; done
done
kill $pid 2>/dev/null || true
wait $pid 2>/dev/null || true
printf '[TGT]\nVAL2=60.00\n[GRAPH]\nTREND=1\nCALENDAR=1\nQUANTITY=1\n' >"$home/.config/Tav/Vorn2.conf"
log=$home/year.txt
: >"$log"
for n in $(seq 0 300); do
    days=$((n * 7 / 5))
    [ "$days" -ge 240 ] && [ "$days" -lt 262 ] && continue
    hour=07
    [ $((n % 4)) -eq 0 ] && hour=21
    stamp=$(date -u -d "2025-10-10 +$days days" +%m%d)$hour
    record "$n" "$stamp" 'w = 68.5 - n * 0.012 + 0.8 * sin(n / 30) + 0.5 * sin(n * 2.3) + (stamp % 100 == 21) * 0.6
        f = 22 - n * 0.008 + 0.4 * sin(n * 1.7)'
done
open_graph "$log"
sleep 0.5
xdotool windowfocus --sync "$graph"
xdotool key ctrl+4
sleep 0.5
xdotool mousemove --window "$graph" 0 0
sleep 0.3
import -window "$graph" "$out/graph-window-calendar.png"

# The statistics per week of the same weights, from the chart's menu
# (Shift+F10, then M).
xdotool key shift+F10
sleep 0.5
xdotool key m
stats=$(first_window "期間ごとの集計")
sleep 0.5
import -window "$stats" "$out/stats-window.png"
