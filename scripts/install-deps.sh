#!/bin/sh
# Installs the Debian packages that building, testing and running need.
# Idempotent, and silent when everything is already there.
set -eu

PACKAGES="g++ cmake make pkg-config
qt6-base-dev libqt6opengl6-dev qt6-charts-dev qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools
qt6-l10n-tools libqt6sql6-sqlite qt6-translations-l10n qt6-qpa-plugins libqt6svg6
libgtest-dev googletest libbenchmark-dev
fonts-ipafont-gothic xvfb xauth xdotool faketime x11-utils imagemagick
desktop-file-utils appstream dpkg-dev file lintian"
PACKAGES="$PACKAGES clang-format-14" # make test fails on code that is not in its style
PACKAGES="$PACKAGES python3" # tests/e2e/smoke.sh closes a window through libX11
PACKAGES="$PACKAGES openbox" # tests/e2e/ending.sh: a window manager's close and frames
# tests/e2e/faults.sh: system calls that fail, a save killed, the warning's
# text read through the accessibility bus
PACKAGES="$PACKAGES fiu-utils strace dbus at-spi2-core python3-gi gir1.2-atspi-2.0"
PACKAGES="$PACKAGES valgrind" # make bench: where the start-up instructions go
PACKAGES="$PACKAGES gnuplot-nox" # make bench: the calendar chart against gnuplot
PACKAGES="$PACKAGES clang-14 libclang-rt-14-dev" # make fuzz: the libFuzzer targets
PACKAGES="$PACKAGES libexpat1-dev" # the import reads Apple Health's XML with expat
PACKAGES="$PACKAGES libxml2-utils" # make bench: that reading against xmllint --stream

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages:$missing" >&2
    echo "Run as root (or install them with sudo apt-get install$missing)." >&2
    exit 1
fi
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# shellcheck disable=SC2086
apt-get install -y -qq --no-install-recommends $missing >/dev/null
