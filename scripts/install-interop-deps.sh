#!/bin/sh
# The programs that `make interop-check` opens the exports with: LibreOffice
# Calc without its desktop parts (some 400 MiB installed, so not among
# install-deps.sh's packages), poppler's tools and librsvg's converter.
# Installs only what is missing; as root, or it prints the line to run.
set -eu
packages="libreoffice-calc-nogui poppler-utils librsvg2-bin"
missing=""
for p in $packages; do
    dpkg-query -W -f '${Status}\n' "$p" 2>/dev/null | grep -q "install ok installed" ||
        missing="$missing $p"
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
    echo "install-interop-deps: run first: sudo apt-get install --no-install-recommends$missing" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
# shellcheck disable=SC2086
apt-get install -y --no-install-recommends $missing
