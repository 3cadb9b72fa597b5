#!/bin/sh
# The command line of the real program, with no display at all:
#   tests/e2e/cli.sh path/to/vorn
# Each case gives the arguments, the exit status and the first line the
# program must print (standard output and error together).
set -u
vorn=$1
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export LC_ALL=C.UTF-8 ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
failed=0
check() {
    want_status=$1 want_line=$2
    shift 2
    out=$("$vorn" "$@" 2>&1)
    status=$?
    line=$(printf '%s\n' "$out" | head -n 1)
    if [ "$status" -ne "$want_status" ] || [ "$line" != "$want_line" ]; then
        echo "FAILED: vorn $*: status $status (want $want_status), first line:" >&2
        echo "  got:  $line" >&2
        echo "  want: $want_line" >&2
        failed=1
    fi
}
check 0 "vorn ${VORN_VERSION:?}" --version
check 0 "Usage: vorn [--help | --version]" --help
check 2 "vorn: unknown option '--frobnicate'" --frobnicate
check 2 "vorn: unexpected argument 'data.txt'" data.txt
check 2 "vorn: --help takes no further arguments" --help --version
check 1 "vorn: cannot open a display (neither DISPLAY nor WAYLAND_DISPLAY is set); start it in a graphical session, or under xvfb-run: xvfb-run vorn"
# A --version that cannot be written out is an error, not a success.
if [ -w /dev/full ] && "$vorn" --version >/dev/full 2>/dev/null; then
    echo "FAILED: vorn --version >/dev/full reported success" >&2
    failed=1
fi
[ "$failed" -eq 0 ] && echo "command line: all cases passed"
exit "$failed"
