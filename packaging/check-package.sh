#!/bin/sh
# Unpacks the Debian package into a throwaway folder and checks it there:
# lintian finds no error and no warning in it, every file where the desktop
# (and man, and Debian's policy) looks for it, the desktop entry and AppStream
# metadata valid, the dependencies resolvable on this system, and the
# unpacked vorn starting under Xvfb with its name and icon, then opening its
# help (found in share/vorn beside bin/) with Ctrl+H and quitting with Ctrl+Q.
#
# Usage: packaging/check-package.sh [build folder | package.deb]
#        (default: build/package). Nothing outside a temporary folder is
#        touched: HOME and the XDG folders point into it.
set -eu

arg=${1:-build/package}
if [ -d "$arg" ]; then
    deb=$(find "$arg" -maxdepth 1 -name 'vorn_*_*.deb' | sort | tail -n1)
    [ -n "$deb" ] || { echo "no vorn_*.deb in $arg (run make package)" >&2; exit 1; }
else
    deb=$arg
fi
deb=$(realpath "$deb")

if [ -z "${VORN_IN_XVFB:-}" ]; then
    VORN_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" sh "$0" "$deb"
fi

failures=0
ok() { echo "ok   $*"; }
bad() {
    echo "FAIL $*"
    failures=$((failures + 1))
}
check() { # check "what" command...
    what=$1
    shift
    if "$@" >/dev/null 2>&1; then ok "$what"; else bad "$what"; fi
}

work=$(mktemp -d)
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
root=$work/root
home=$work/home
mkdir -p "$root" "$home/.config" "$home/.local/share" "$home/.cache"

echo "package: $deb"
dpkg-deb -f "$deb" Package Version Architecture Depends Recommends | sed 's/^/  /'

# The pieces Qt loads at run time, which no linker dependency brings along.
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6widgets6 libqt6charts6 libqt6help6 libqt6sql6-sqlite libqt6svg6 \
    qt6-qpa-plugins qt6-translations-l10n fonts-ipafont-gothic; do
    case ", $depends," in
    *", $p,"* | *", $p "*) ok "Depends names $p" ;;
    *) bad "Depends names $p" ;;
    esac
done
# What apt-get would install on a machine with nothing installed at all:
# every dependency must resolve from the Debian archive.
: >"$work/empty-status"
closure=$work/closure.txt
if apt-get install -s -o Dir::State::status="$work/empty-status" "$deb" \
    >"$work/apt.txt" 2>&1 && grep -q '^Inst vorn ' "$work/apt.txt"; then
    awk '/^Inst /{print $2}' "$work/apt.txt" | sort -u >"$closure"
    ok "apt-get resolves every dependency on an empty system ($(wc -l <"$closure") packages, simulated)"
else
    bad "apt-get resolves every dependency on an empty system (simulated)"
    tail -n 5 "$work/apt.txt"
    : >"$closure"
fi

# Debian's policy as lintian reads it, pedantic tags included: an error or a
# warning fails the check; informational and pedantic tags are only shown.
if lintian --pedantic --display-info --tag-display-limit 0 --fail-on error,warning \
    "$deb" >"$work/lintian.txt" 2>&1; then
    ok "lintian: no error, no warning"
else
    bad "lintian: no error, no warning"
fi
# lintian's own remark on running as root is no finding.
grep -v 'running with root privileges' "$work/lintian.txt" | sed 's/^/  /' || true

dpkg -x "$deb" "$root"
for f in usr/bin/vorn usr/share/vorn/Vorn.qhc usr/share/vorn/Vorn.qch \
    usr/share/man/man1/vorn.1.gz usr/share/doc/vorn/copyright usr/share/doc/vorn/changelog.gz \
    usr/share/applications/vorn.desktop usr/share/metainfo/io.github.tav.vorn.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/vorn.svg \
    usr/share/icons/hicolor/48x48/apps/vorn.png \
    usr/share/icons/hicolor/128x128/apps/vorn.png; do
    check "installs /$f" test -s "$root/$f"
done
check "/usr/bin/vorn is executable" test -x "$root/usr/bin/vorn"
version=$(dpkg-deb -f "$deb" Version)
case $("$root/usr/bin/vorn" --version 2>&1) in
"vorn $version") ok "vorn --version prints \"vorn $version\"" ;;
*) bad "vorn --version prints \"vorn $version\": $("$root/usr/bin/vorn" --version 2>&1 | head -n1)" ;;
esac
for size in 48 128; do
    check "the ${size}x${size} icon is ${size} by ${size}" \
        sh -c "file '$root/usr/share/icons/hicolor/${size}x${size}/apps/vorn.png' | grep -q ' $size x $size'"
done
if ldd "$root/usr/bin/vorn" | grep -q 'not found'; then
    bad "every shared library of vorn is found"
    ldd "$root/usr/bin/vorn" | grep 'not found'
else
    ok "every shared library of vorn is found"
fi
# The SVG writer and the printer come from usr/lib/vorn/plugins.
printf ' 120107 170.00 65.00 20.00 13.00 52.00 38.06 63.58 22.49  2.23\n' >"$work/log.txt"
check "vorn --graph writes an SVG through usr/lib/vorn/plugins/libvorn_paper.so" sh -c \
    "QT_QPA_PLATFORM=offscreen '$root/usr/bin/vorn' --graph '$work/log.txt' --output '$work/g.svg' &&
     grep -q '<svg' '$work/g.svg'"
check "desktop-file-validate" desktop-file-validate "$root/usr/share/applications/vorn.desktop"
if desktop-file-validate "$root/usr/share/applications/vorn.desktop" | grep -q 'warning:'; then
    bad "desktop entry without warnings"
fi
# validate-tree also checks that the metadata's launchable and icon are in the tree.
if HOME=$home XDG_CACHE_HOME=$home/.cache appstreamcli validate-tree --no-net "$root" \
    >"$work/appstream.txt" 2>&1; then
    ok "appstreamcli validate-tree"
else
    bad "appstreamcli validate-tree"
    cat "$work/appstream.txt"
fi

# Start the unpacked program. Nothing lies beside the binary, so the help
# can only come from ../share/vorn.
env -u QT_QPA_PLATFORM HOME="$home" XDG_CONFIG_HOME="$home/.config" \
    XDG_DATA_HOME="$home/.local/share" XDG_CACHE_HOME="$home/.cache" \
    "$root/usr/bin/vorn" >"$work/vorn.log" 2>&1 &
pid=$!

# window "title regex": the id of the first visible window with that title
window() {
    for _ in $(seq 75); do
        w=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1) || true
        [ -n "$w" ] && { echo "$w"; return 0; }
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.2
    done
    return 1
}

if main=$(window '^Vorn２$'); then
    ok "vorn starts: window \"Vorn２\""
    case $(xprop -id "$main" WM_CLASS) in
    *'"vorn", "vorn"'*) ok "WM_CLASS is vorn (StartupWMClass of the desktop entry)" ;;
    *) bad "WM_CLASS is vorn: $(xprop -id "$main" WM_CLASS)" ;;
    esac
    case $(xprop -id "$main" _NET_WM_ICON | head -c 200) in
    *'_NET_WM_ICON(CARDINAL) = '*) ok "the window carries an icon" ;;
    *) bad "the window carries an icon" ;;
    esac
    sleep 0.5
    xdotool windowfocus --sync "$main" 2>/dev/null || true
    xdotool key --clearmodifiers ctrl+h
    if help=$(window '^Vorn２ ヘルプ$'); then
        ok "Ctrl+H opens \"Vorn２ ヘルプ\""
        opened=no
        for fd in "/proc/$pid/fd"/*; do
            case $(readlink "$fd" 2>/dev/null) in
            "$root/usr/share/vorn/Vorn.q"*) opened=yes ;;
            esac
        done
        if [ "$opened" = yes ]; then
            ok "the help is read from /usr/share/vorn of the unpacked tree"
        else
            bad "the help is read from /usr/share/vorn of the unpacked tree"
        fi
        # Every file the running program maps (libraries, plugins, the Japanese
        # texts) must come from a package that installing the .deb on an
        # empty system brings along, or from an essential one. Fonts are left
        # out: which one fontconfig picks depends on what else is installed.
        missing=""
        for f in $(awk '$6 ~ /^\/usr\// && $6 !~ /^\/usr\/share\/fonts\// {print $6}' \
            "/proc/$pid/maps" | sort -u); do
            p=$(dpkg -S "$f" 2>/dev/null | grep -v '^diversion' | head -n1 | cut -d: -f1) || true
            [ -n "$p" ] || continue # generated, owned by no package
            grep -qx "$p" "$closure" && continue
            [ "$(dpkg-query -W -f '${Essential}' "$p" 2>/dev/null)" = yes ] && continue
            missing="$missing $p"
        done
        if [ -s "$closure" ] && [ -z "$missing" ]; then
            ok "everything vorn loads comes with its dependencies"
        else
            bad "everything vorn loads comes with its dependencies; not brought along:$(
                echo "$missing" | tr ' ' '\n' | sort -u | tr '\n' ' ')"
        fi
        xdotool windowclose "$help" 2>/dev/null || true
    else
        bad "Ctrl+H opens \"Vorn２ ヘルプ\""
        for w in $(xdotool search --onlyvisible --name . 2>/dev/null); do
            echo "  visible window: $(xdotool getwindowname "$w")"
        done
    fi
    xdotool windowfocus --sync "$main" 2>/dev/null || true
    xdotool key --clearmodifiers ctrl+q
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.2
    done
    if kill -0 "$pid" 2>/dev/null; then
        bad "Ctrl+Q quits"
    else
        rc=0
        wait "$pid" || rc=$?
        pid=""
        if [ "$rc" -eq 0 ]; then ok "Ctrl+Q quits"; else bad "Ctrl+Q quits (exit code $rc)"; fi
        check "the targets are saved in the temporary XDG_CONFIG_HOME" \
            test -f "$home/.config/Tav/Vorn2.conf"
    fi
else
    bad "vorn starts: window \"Vorn２\""
fi
if [ -s "$work/vorn.log" ]; then
    echo "vorn's output:"
    sed 's/^/  /' "$work/vorn.log"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "every check passed"
