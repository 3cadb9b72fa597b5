#!/bin/sh
# The project's two everyday commands on any Debian 12, even a bare one:
#   sh vorn.sh run    installs what is missing, builds and starts Vorn２
#   sh vorn.sh test   installs what is missing, builds and runs every test
# A bare machine may lack make itself: it is installed first, then the
# Makefile does the rest (scripts/install-deps.sh).
set -eu
cd "$(dirname "$0")"
# Window names and the program's texts are UTF-8 whatever the caller's locale.
export LC_ALL=C.UTF-8
PATH=${PATH:-/usr/sbin:/usr/bin:/sbin:/bin}
export PATH
if ! command -v make >/dev/null 2>&1; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "vorn.sh: make is missing; run as root, or install it with: sudo apt-get install make" >&2
        exit 1
    fi
    echo "Installing: make"
    DEBIAN_FRONTEND=noninteractive apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends make >/dev/null
fi
case "${1:-}" in
run | test) exec make "$1" ;;
*)
    echo "usage: sh vorn.sh run | test" >&2
    exit 2
    ;;
esac
