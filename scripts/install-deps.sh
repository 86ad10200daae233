#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run its demonstration.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev fonts-dejavu-core
    xvfb xauth
    clang-format
    clang libclang-rt-14-dev
    # The Windows programs: cross compilers, GoogleTest's sources for them, Wine to run the
    # tests, the bitmaps made from the SVGs, and the package.
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest
    wine wine64 librsvg2-bin imagemagick zip
    # Wine's own fonts: Tahoma behind "MS Shell Dlg" and the title-bar buttons in screenshots.
    fonts-wine
)

if [ "$(id -u)" -ne 0 ]; then
    exec sudo "$0" "$@"
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -eq 0 ]; then
    exit 0
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
