#!/bin/sh
# Proves the README's two commands on a bare Debian 12: a minbase bookworm
# root (debootstrap), the committed tree copied into /root/vorn, then, each
# in a fresh copy of that root, as root with an empty environment:
#   run    sh vorn.sh run, with only DISPLAY added, until the main window
#          "Vorn２" shows on an X server of this machine; then Ctrl+Q
#   test   sh vorn.sh test
# Neither root has make, git, a locale or an X server of its own beforehand:
# each command must install everything it needs by itself.
#
# Usage (as root, by hand; it takes a while):
#   sh scripts/fresh-debian.sh [run] [test]     (default: both, in that order)
# Variables: FRESH_DIR (default build/fresh-debian) holds the roots, the logs
# and FRESH_CACHE, the minbase root as a tarball made once and reused;
# MIRROR (default: this machine's Debian mirror); FRESH_DISPLAY (77);
# RUN_LIMIT, seconds the run command has to show its window (1800).
# Prints the time of each step and the root's size after it; exits non-zero
# when any step fails.
set -eu
PATH=/usr/sbin:/usr/bin:/sbin:/bin
export PATH
# The window's name is UTF-8.
export LC_ALL=C.UTF-8

if [ "$(id -u)" -ne 0 ]; then
    echo "fresh-debian: run as root" >&2
    exit 1
fi
cd "$(dirname "$0")/.."
repo=$(pwd)
FRESH_DIR=${FRESH_DIR:-$repo/build/fresh-debian}
FRESH_CACHE=${FRESH_CACHE:-$FRESH_DIR/bookworm-minbase.tar}
FRESH_DISPLAY=${FRESH_DISPLAY:-77}
RUN_LIMIT=${RUN_LIMIT:-1800}
SUITE=bookworm
clean_env="PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root"

steps=${*:-run test}
for s in $steps; do
    case $s in
    run | test) ;;
    *)
        echo "usage: $0 [run] [test]" >&2
        exit 2
        ;;
    esac
done

mkdir -p "$FRESH_DIR"
FRESH_DIR=$(realpath "$FRESH_DIR")
# One run at a time per folder: a second one would delete the roots the
# first is running in.
exec 9>"$FRESH_DIR/lock"
if ! flock -n 9; then
    echo "fresh-debian: another run is using $FRESH_DIR (set FRESH_DIR)" >&2
    exit 1
fi
summary=$FRESH_DIR/summary.txt
: >"$summary"
say() { echo "fresh-debian: $*"; }
record() {
    echo "$*" >>"$summary"
    say "$*"
}
now() { date +%s; }
# size ROOT: the root's disk use, in MiB, its own file system only.
size() { du -sxm "$1" | cut -f1; }

# The Debian mirror this machine's apt uses for bookworm, from its one-line
# and deb822 sources; Debian's default when none names one.
find_mirror() {
    {
        for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
            [ -f "$f" ] || continue
            sed -e 's/#.*//' -e 's/\[[^]]*\]//' "$f" |
                awk -v suite="$SUITE" '$1 == "deb" && $3 == suite { print $2 }'
        done
        for f in /etc/apt/sources.list.d/*.sources; do
            [ -f "$f" ] || continue
            awk -v suite="$SUITE" '
                function flush() {
                    if (types ~ /(^| )deb( |$)/ && suites ~ ("(^| )" suite "( |$)") &&
                        enabled != "no" && uris != "") {
                        split(uris, u, " ")
                        print u[1]
                    }
                    types = suites = uris = enabled = ""
                }
                /^[ \t]*#/ { next }
                /^[ \t]*$/ { flush(); next }
                {
                    key = tolower($1)
                    sub(/^[^:]*:[ \t]*/, "")
                    if (key == "types:") types = $0
                    else if (key == "suites:") suites = $0
                    else if (key == "uris:") uris = $0
                    else if (key == "enabled:") enabled = tolower($0)
                }
                END { flush() }' "$f"
        done
    } | head -n 1
}
MIRROR=${MIRROR:-$(find_mirror)}
MIRROR=${MIRROR:-http://deb.debian.org/debian}

# Everything mounted into a root, the newest first; the X server and the
# run command, when running.
mounts=""
xvfb=""
runner=""
current_root=""

# mounted_under DIR: lists the mount points at or under DIR.
mounted_under() {
    awk -v r="$1" '$2 == r || index($2, r "/") == 1 { print $2 }' /proc/self/mounts
}

# Ends what still runs inside the root (its own processes only, by their ids)
# and unmounts what was mounted into it.
release_root() {
    if [ -n "$runner" ]; then
        kill -TERM -- "-$runner" 2>/dev/null || true
        sleep 1
        kill -KILL -- "-$runner" 2>/dev/null || true
        runner=""
    fi
    if [ -n "$current_root" ]; then
        for p in /proc/[0-9]*; do
            if [ "$(readlink "$p/root" 2>/dev/null)" = "$current_root" ]; then
                kill -KILL "${p#/proc/}" 2>/dev/null || true
            fi
        done
    fi
    for m in $mounts; do
        umount "$m" 2>/dev/null || umount -l "$m" || say "cannot unmount $m"
    done
    mounts=""
}
cleanup() {
    release_root
    if [ -n "$xvfb" ]; then
        kill "$xvfb" 2>/dev/null || true
        xvfb=""
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

# remove DIR: deletes a root, never while anything is mounted in it.
remove() {
    [ -e "$1" ] || return 0
    if [ -n "$(mounted_under "$1")" ]; then
        say "still mounted under $1: $(mounted_under "$1" | tr '\n' ' ')" >&2
        exit 1
    fi
    rm -rf --one-file-system "$1"
}

# attach ROOT SOURCE TARGET [mount options...]: mounts and remembers it.
attach() {
    target=$1$3
    source=$2
    shift 3
    mkdir -p "$target"
    mount "$@" "$source" "$target"
    mounts="$target $mounts"
}

need_host() { # need_host COMMAND PACKAGE
    if ! command -v "$1" >/dev/null 2>&1; then
        say "installing $2 on this machine"
        DEBIAN_FRONTEND=noninteractive apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$2" >/dev/null
    fi
}
need_host debootstrap debootstrap
need_host git git

commit=$(git -C "$repo" rev-parse HEAD)
record "commit $commit ($(git -C "$repo" log -1 --format=%s "$commit"))"
record "mirror $MIRROR"

# The minbase root, made once.
if [ -s "$FRESH_CACHE" ]; then
    record "debootstrap: reusing $FRESH_CACHE ($(du -m "$FRESH_CACHE" | cut -f1) MiB)"
else
    base=$FRESH_DIR/minbase
    remove "$base"
    start=$(now)
    say "debootstrap --variant=minbase $SUITE $base $MIRROR (log: $FRESH_DIR/debootstrap.log)"
    if ! debootstrap --variant=minbase "$SUITE" "$base" "$MIRROR" >"$FRESH_DIR/debootstrap.log" 2>&1; then
        tail -n 20 "$FRESH_DIR/debootstrap.log" >&2
        record "debootstrap: FAILED"
        exit 1
    fi
    took=$(($(now) - start))
    tar -C "$base" --numeric-owner -cf "$FRESH_CACHE.part" .
    mv "$FRESH_CACHE.part" "$FRESH_CACHE"
    record "debootstrap: ${took} s, root $(size "$base") MiB"
    remove "$base"
fi

# fresh_root NAME: a new copy of the minbase root with the tree in /root/vorn,
# mounted and ready for chroot; sets root.
fresh_root() {
    root=$FRESH_DIR/root-$1
    remove "$root"
    mkdir -p "$root"
    tar -C "$root" --numeric-owner -xpf "$FRESH_CACHE"
    mkdir -p "$root/root/vorn"
    git -C "$repo" archive --format=tar "$commit" | tar -C "$root/root/vorn" -xf -
    cp -L /etc/resolv.conf "$root/etc/resolv.conf"
    # As in Debian's container images: packages installed here start no
    # services, which would outlive the test and hold its mounts.
    printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
    chmod 755 "$root/usr/sbin/policy-rc.d"
    current_root=$root
    attach "$root" proc /proc -t proc
    attach "$root" sysfs /sys -t sysfs
    attach "$root" /dev /dev --bind
    attach "$root" /dev/pts /dev/pts --bind
    attach "$root" tmpfs /dev/shm -t tmpfs -o mode=1777
    say "root $root: $(size "$root") MiB before the command"
}

run_step() {
    fresh_root run
    need_host Xvfb xvfb
    need_host xdotool xdotool
    need_host xdpyinfo x11-utils
    # The X server runs on this machine, so that the root gets nothing
    # before the run command; its socket is shared into the root.
    if xdpyinfo -display ":$FRESH_DISPLAY" >/dev/null 2>&1 || [ -e "/tmp/.X11-unix/X$FRESH_DISPLAY" ]; then
        say "display :$FRESH_DISPLAY is taken: set FRESH_DISPLAY" >&2
        exit 1
    fi
    Xvfb ":$FRESH_DISPLAY" -screen 0 1024x768x24 -nolisten tcp >"$FRESH_DIR/xvfb.log" 2>&1 &
    xvfb=$!
    tries=100
    until xdpyinfo -display ":$FRESH_DISPLAY" >/dev/null 2>&1; do
        tries=$((tries - 1))
        if [ "$tries" -eq 0 ] || ! kill -0 "$xvfb" 2>/dev/null; then
            cat "$FRESH_DIR/xvfb.log" >&2
            record "run: FAILED: the X server :$FRESH_DISPLAY did not start"
            exit 1
        fi
        sleep 0.1
    done
    attach "$root" /tmp/.X11-unix /tmp/.X11-unix --bind

    log=$FRESH_DIR/run.log
    say "run: sh vorn.sh run, DISPLAY=:$FRESH_DISPLAY (log: $log)"
    start=$(now)
    # shellcheck disable=SC2086
    setsid chroot "$root" /usr/bin/env -i $clean_env "DISPLAY=:$FRESH_DISPLAY" \
        sh -c 'cd /root/vorn && sh vorn.sh run' >"$log" 2>&1 </dev/null &
    runner=$!
    window=""
    while [ -z "$window" ]; do
        window=$(DISPLAY=:$FRESH_DISPLAY xdotool search --onlyvisible --name '^Vorn２$' 2>/dev/null | head -n 1) || true
        [ -n "$window" ] && break
        if ! kill -0 "$runner" 2>/dev/null; then
            tail -n 40 "$log" >&2
            record "run: FAILED after $(($(now) - start)) s: the command ended with no window"
            exit 1
        fi
        if [ $(($(now) - start)) -ge "$RUN_LIMIT" ]; then
            tail -n 40 "$log" >&2
            record "run: FAILED: no window \"Vorn２\" within $RUN_LIMIT s"
            exit 1
        fi
        sleep 2
    done
    took=$(($(now) - start))
    title=$(DISPLAY=:$FRESH_DISPLAY xprop -id "$window" _NET_WM_NAME 2>/dev/null |
        sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p')
    if [ "$title" != "Vorn２" ]; then
        record "run: FAILED: the window is titled \"$title\", not \"Vorn２\""
        exit 1
    fi
    say "run: window $window \"$title\" after $took s; quitting with Ctrl+Q"
    DISPLAY=:$FRESH_DISPLAY timeout 10 xdotool windowfocus --sync "$window" key ctrl+q || true
    tries=30
    while kill -0 "$runner" 2>/dev/null && [ "$tries" -gt 0 ]; do
        tries=$((tries - 1))
        sleep 1
    done
    if kill -0 "$runner" 2>/dev/null; then
        record "run: FAILED: the program did not end within 30 s of Ctrl+Q"
        exit 1
    fi
    status=0
    wait "$runner" || status=$?
    runner=""
    if [ "$status" -ne 0 ]; then
        tail -n 40 "$log" >&2
        record "run: FAILED: sh vorn.sh run ended with status $status"
        exit 1
    fi
    release_root
    kill "$xvfb" 2>/dev/null || true
    xvfb=""
    record "run: window \"Vorn２\" after $took s, closed with Ctrl+Q, status 0; root $(size "$root") MiB"
}

test_step() {
    fresh_root test
    log=$FRESH_DIR/test.log
    say "test: sh vorn.sh test (log: $log)"
    start=$(now)
    status=0
    # shellcheck disable=SC2086
    chroot "$root" /usr/bin/env -i $clean_env sh -c 'cd /root/vorn && sh vorn.sh test' \
        >"$log" 2>&1 </dev/null || status=$?
    took=$(($(now) - start))
    release_root
    grep -E 'tests passed|tests failed' "$log" | sed 's/^/fresh-debian: test: /' || true
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$log" >&2
        record "test: FAILED after $took s with status $status; root $(size "$root") MiB"
        exit 1
    fi
    record "test: passed in $took s; root $(size "$root") MiB"
}

for s in $steps; do
    "${s}_step"
done
say "summary ($summary):"
cat "$summary"
