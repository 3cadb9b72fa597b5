#!/bin/sh
# The real program while its real system calls fail: libfiu's POSIX preload
# (fiu-run -x) under Xvfb with a fixed clock. Each fault is switched on with
# fiu-ctrl just around the command under test and off again before the
# screen is read, since X and the accessibility bus make system calls too.
#   - a save into an existing log while write fails with ENOSPC, fsync with
#     EIO or close with EIO: the log is as before, the warning gives the
#     reason, no success box, and the program goes on;
#   - short writes: the record is added whole, once, with the success box,
#     or not at all with a warning that gives the reason;
#   - Ctrl+Q after a changed target while write, fsync or rename fails:
#     Vorn2.conf is the old file, the warning gives the reason, and no
#     temporary file is left;
#   - a record removed through the graph window's table menu: Return on the
#     question keeps the log; with fsync failing, the log stays as it was
#     and the warning gives the reason; with nothing failing, the record's
#     line alone goes, and the old log is kept as data.txt~;
#   - vorn --import while fsync or rename fails: exit status 1, the log as
#     it was; with nothing failing, the record is added;
#   - Ctrl+Q killed (strace injects SIGKILL) at the temporary file's fsync
#     and at the folder's: Vorn2.conf is wholly old or wholly new, and the
#     next start-up removes the temporary file.
#
# Usage: tests/e2e/faults.sh path/to/vorn
# Needs Xvfb, xdotool, faketime, fiu-run, fiu-ctrl, strace, xwininfo,
# xprop, dbus-run-session and python3 with gi and Atspi.
set -eu
export LC_ALL=C.UTF-8

e2e_name=faults
# shellcheck source=tests/e2e/lib.sh
. "$(dirname "$0")/lib.sh"
in_xvfb "$@"
# A session bus of its own, for the accessibility bus the warnings are read
# through.
if [ -z "${VORN_IN_DBUS:-}" ]; then
    VORN_IN_DBUS=1 exec dbus-run-session -- sh "$0" "$@"
fi
set_up "$1"
python=python3
"$python" -c 'import gi' 2>/dev/null || python=/usr/bin/python3
"$python" "$(dirname "$0")/box_text.py" || fail "no accessibility bus"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
old_conf='[TGT]
VAL1=170.00'
record=" 83020 170.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23"

start() {
    fiu-run -x faketime -m -f "@2026-08-30 20:15:00" "$vorn" >"$work/out.txt" 2>&1 &
    faker=$!
    main=$(await '^Vorn２$' "the main window")
    app=$(xdotool getwindowpid "$main" 2>/dev/null || true)
    [ -n "$app" ] || fail "no process for the main window"
}
fault() { fiu-ctrl -c "enable name=$1${2:+,failinfo=$2}" "$app" || fail "fiu-ctrl on $1"; }
healed() { fiu-ctrl -c "disable name=$1" "$app" || fail "fiu-ctrl off $1"; }
# The texts of the message box titled $1, through the accessibility bus.
box_text() {
    timeout 20 "$python" "$(dirname "$0")/box_text.py" "$1" || fail "cannot read the box $1"
}
# Closes a message box and waits until it has gone.
dismiss() {
    focus "$1" "$2"
    keys Return
    await_gone "$1" "$2"
}
# save_with FAILPOINT ERRNO: Ctrl+S with the fault on from the dialog's Return
# until a box is up; prints the box's id.
save_with() {
    keys ctrl+s
    dialog=$(await '保存|Save' "the save dialog")
    focus "$dialog" "the save dialog"
    keys ctrl+a
    typed "$log"
    fault "$1" "$2"
    keys Return
    poll 30 has_window '^(警告|確認)ﾍﾙﾌﾟ' || { healed "$1"; fail "no box after the save ($1)"; }
    healed "$1"
    window '^(警告|確認)ﾍﾙﾌﾟ'
}
no_temp_left() {
    left=$(find "$XDG_CONFIG_HOME/Tav" -name '.Vorn2.conf.*' | head -n 1)
    [ -z "$left" ] || fail "$1 left $left"
}
quit_and_wait() {
    poll 30 stopped || fail "the program did not end after $1"
    wait "$faker" 2>/dev/null || true
    faker=""
    app=""
}

expect_reason() {
    text=$(box_text 警告ﾍﾙﾌﾟ)
    case "$text" in
    *"理由: $1"*) ;;
    *) fail "the warning does not say \"$1\": $text" ;;
    esac
}

eio="ディスクの読み書きでエラーが発生しました"
printf '%s\n' "$record" >"$log"
cp "$log" "$work/before.txt"
start
weigh_in
for fault in "posix/io/rw/write 28 ディスクがいっぱいです" "posix/io/sync/fsync 5 $eio" \
    "posix/io/oc/close 5 $eio"; do
    set -- $fault
    step "saving while $1 fails with errno $2"
    focus "$main" "the main window"
    box=$(save_with "$1" "$2")
    titled "$box" "警告ﾍﾙﾌﾟ" "the warning"
    expect_reason "$3"
    dismiss "$box" "the warning"
    cmp -s "$log" "$work/before.txt" || fail "$1 changed the log: $(od -c "$log" | tail -n 3)"
done

step "saving with short writes"
focus "$main" "the main window"
box=$(save_with posix/io/rw/write/reduce "")
printf '%s\n%s\n' "$record" "$record" >"$work/after.txt"
if has_window '^確認ﾍﾙﾌﾟ'; then
    dismiss "$box" "the saved message"
else
    expect_reason "途中までしか書き込めませんでした"
    dismiss "$box" "the warning"
    cmp -s "$log" "$work/before.txt" || fail "a short write left: $(od -c "$log" | tail -n 3)"
    step "saving again, nothing failing"
    focus "$main" "the main window"
    keys ctrl+s
    choose_file '保存|Save' "the save dialog" "$log"
    box=$(await '^確認ﾍﾙﾌﾟ' "the saved message")
    dismiss "$box" "the saved message"
fi
cmp -s "$log" "$work/after.txt" || fail "the record is not there once: $(od -c "$log" | tail -n 4)"
focus "$main" "the main window"
keys ctrl+q
quit_and_wait "Ctrl+Q"

step "removing a record from the graph window's table"
mistyped=" 83020 170.00 635.00 20.00 127.00 508.00 371.86 63.58 219.72 898.73"
printf '%s\r\n%s\n%s' "$record" "$mistyped" "$record" >"$log"
cp "$log" "$work/before.txt"
start
focus "$main" "the main window"
keys ctrl+g
choose_file '開く|Open' "the open dialog" "$log"
graph=$(await '^種類別測定グラフ' "the graph window")
focus "$graph" "the graph window"
keys alt+a
sleep 0.5
xdotool mousemove 0 0
# The table starts at client y 296, rows 24 pixels high: the second record.
timeout 10 xdotool mousemove --window "$graph" --sync 100 356 click 1 ||
    fail "cannot click the table"
# remove_asking FAILPOINT: the table's menu from the keyboard, then Alt+Y
# with the fault on (none: no fault) until the question has gone.
remove_asking() {
    focus "$graph" "the graph window"
    keys Menu d
    question=$(await '^削除ﾍﾙﾌﾟ' "the removal question")
    focus "$question" "the removal question"
    [ -z "$1" ] || fault "$1" 5
    keys alt+y
    poll 30 hidden "$question" || { [ -z "$1" ] || healed "$1"; fail "the question stayed"; }
    [ -z "$1" ] || healed "$1"
}
focus "$graph" "the graph window"
keys Menu d
question=$(await '^削除ﾍﾙﾌﾟ' "the removal question")
case "$(box_text 削除ﾍﾙﾌﾟ)" in
*"2026/08/30 20時　体重(kg) 635.00"*) ;;
*) fail "the question does not name the record: $(box_text 削除ﾍﾙﾌﾟ)" ;;
esac
dismiss "$question" "the removal question"
cmp -s "$log" "$work/before.txt" || fail "Return on the question changed the log"
[ ! -e "$log~" ] || fail "Return on the question kept a copy"
remove_asking posix/io/sync/fsync
box=$(await '^警告ﾍﾙﾌﾟ' "the warning of the failed removal")
text=$(box_text 警告ﾍﾙﾌﾟ)
case "$text" in
*"から記録を削除できませんでした。"*"理由: "*"$eio"*) ;;
*) fail "the warning does not give the reason: $text" ;;
esac
dismiss "$box" "the warning"
cmp -s "$log" "$work/before.txt" || fail "a failed removal changed the log: $(od -c "$log")"
remove_asking ""
printf '%s\r\n%s' "$record" "$record" >"$work/after.txt"
# The question goes before the removal runs.
poll 10 cmp -s "$log" "$work/after.txt" || fail "the removal left: $(od -c "$log")"
cmp -s "$log~" "$work/before.txt" || fail "the copy is not the old log"
has_window '^警告ﾍﾙﾌﾟ' && fail "a warning after a removal that worked"
kill -9 "$app"
quit_and_wait "SIGKILL"

printf '%s\n' "$old_conf" >"$work/old.conf"
for fault in "posix/io/rw/write 28 ディスクがいっぱいです" "posix/io/sync/fsync 5 $eio" \
    "posix/io/dir/rename 5 $eio"; do
    set -- $fault
    step "Ctrl+Q after a changed target while $1 fails with errno $2"
    cp "$work/old.conf" "$conf"
    start
    set_weight_target
    fault "$1" "$2"
    keys ctrl+q
    poll 30 has_window '^警告ﾍﾙﾌﾟ' || { healed "$1"; fail "no warning at Ctrl+Q ($1)"; }
    healed "$1"
    box=$(window '^警告ﾍﾙﾌﾟ')
    expect_reason "$3"
    dismiss "$box" "the warning"
    quit_and_wait "the warning"
    cmp -s "$conf" "$work/old.conf" || fail "$1 changed Vorn2.conf: $(cat "$conf")"
    no_temp_left "$1"
done

for when in 1 2; do
    step "Ctrl+Q killed at its fsync number $when"
    cp "$work/old.conf" "$conf"
    start
    set_weight_target
    strace -f -p "$app" -o /dev/null -e trace=fsync -e "inject=fsync:signal=KILL:when=$when" 2>/dev/null &
    tracer=$!
    poll 10 grep -q '^TracerPid:[[:space:]]*[1-9]' "/proc/$app/status" || fail "strace did not attach"
    keys ctrl+q
    quit_and_wait "SIGKILL"
    wait "$tracer" 2>/dev/null || true
    if [ "$when" -eq 1 ]; then
        cmp -s "$conf" "$work/old.conf" || fail "a killed save changed Vorn2.conf: $(cat "$conf")"
    else
        printf '[TGT]\nVAL1=170.00\nVAL2=65.00\nVAL3=\nVAL4=\nVAL5=\nVAL6=\nVAL7=\nVAL8=\nVAL9=\n' \
            >"$work/new.conf"
        cmp -s "$conf" "$work/new.conf" || fail "Vorn2.conf is not the new one: $(cat "$conf")"
    fi
    start
    no_temp_left "the start-up after a killed save"
    kill -9 "$app"
    quit_and_wait "SIGKILL"
done
# An import whose new log cannot be synced, or cannot take the place of the
# old one: exit status 1, the reason on standard error, the log as it was
# and nothing left beside it; then nothing failing, and the record is added,
# the old log kept as data.txt~.
ago=$(date -d '2 days ago' '+%Y-%m-%d')
printf 'DATE,TIME,WEIGHT,BODY_FAT\n%s,07:10,65.5,\n' "$ago" >"$work/import.csv"
mkdir -p "$work/in"
for f in posix/io/sync/fsync posix/io/dir/rename ""; do
    step "an import${f:+ while $f fails}"
    rm -f "$work/in/"*
    printf '%s\n' "$record" >"$work/in/data.txt"
    set +e
    fiu-run -x ${f:+-c "enable name=$f"} "$vorn" --import "$work/import.csv" \
        --into "$work/in/data.txt" >"$work/out.txt" 2>"$work/err.txt"
    status=$?
    set -e
    if [ -n "$f" ]; then
        [ "$status" -eq 1 ] || fail "an import while $f fails exited with $status"
        grep -q '取り込めませんでした' "$work/err.txt" || fail "no reason: $(cat "$work/err.txt")"
        [ "$(cat "$work/in/data.txt")" = "$record" ] || fail "the log changed: $(cat "$work/in/data.txt")"
        [ -z "$(ls -A "$work/in" | grep -v -x -e data.txt -e 'data.txt~')" ] ||
            fail "left beside the log: $(ls "$work/in")"
    else
        [ "$status" -eq 0 ] || fail "a clean import exited with $status: $(cat "$work/err.txt")"
        [ "$(sed -n 1p "$work/in/data.txt")" = "$record" ] && [ "$(wc -l <"$work/in/data.txt")" -eq 2 ] ||
            fail "not added after it: $(cat "$work/in/data.txt")"
        [ "$(cat "$work/in/data.txt~")" = "$record" ] || fail "no copy kept"
    fi
done
step "passed"
