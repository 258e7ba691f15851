#!/bin/sh
# Installs the Debian packages Valvescope needs to build and test, skipping
# whatever is already present. Safe to run on every `make`; works as root on a
# fresh Debian 12 machine, or through sudo otherwise. `install-deps.sh wine`
# adds what running the Windows build needs (make windows-test): Wine, its
# own fonts (Tahoma, the Windows program's face), a display, and the tools
# that find the program's window and take its screenshot.
set -eu

PACKAGES="
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libmodbus-dev mbpoll
  g++-mingw-w64-x86-64
  poppler-utils
  dpkg-dev help2man desktop-file-utils appstream
"
if [ "${1:-}" = wine ]; then
  PACKAGES="$PACKAGES wine64 fonts-wine xvfb x11-utils imagemagick"
fi

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

[ -z "$missing" ] && exit 0

echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
# shellcheck disable=SC2086
$SUDO apt-get install -y --no-install-recommends $missing
