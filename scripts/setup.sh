#!/usr/bin/env bash
# setup.sh - installs every Debian package the project needs (only what is missing)
# and creates the project's Wine prefix. Safe to run again; quick when all is there.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

PACKAGES=(
  cmake make googletest
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 xvfb xauth x11-utils imagemagick
  libboost-dev curl wrk wget zip unzip chromium fonts-wine
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
fi

# MinGW must not see /usr/include: it gets a folder holding only a link to Boost.
mkdir -p "$BUILD_ROOT/boost-include"
ln -sfn /usr/include/boost "$BUILD_ROOT/boost-include/boost"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "setup: creating Wine prefix $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  "$WINE" wineboot -i >/dev/null 2>&1 </dev/null
  "$WINESERVER" -w
fi

# Wine's own fonts (MS Sans Serif of the dialogs, Tahoma, Marlett of the caption buttons):
# Debian's Wine 8 looks for them under a path it cannot resolve, so the prefix gets a copy.
if [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/sserife.fon" ]; then
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
fi
