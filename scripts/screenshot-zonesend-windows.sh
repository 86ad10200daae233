#!/usr/bin/env bash
# Takes the picture of zonesend's Windows dialog under Wine and a virtual X server and stores it
# in docs/screenshots/windows/zonesend-main.png. Wine draws the window's frame and caption itself
# (there is no window manager), so the picture shows them as Windows would.
#
#   scripts/screenshot-zonesend-windows.sh [BUILD_DIR]     (default build/windows)
# WINEPREFIX is used as set (default ~/.wine); DISPLAY_NUMBER picks the X display (default 94).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build/windows}
display=:${DISPLAY_NUMBER:-94}
out_dir=docs/screenshots/windows

if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake --preset windows >/dev/null
fi
cmake --build "$build_dir" --target zonesend_win32_screenshot -j 2

export WINEDEBUG=-all DISPLAY=$display
Xvfb "$display" -screen 0 1280x1024x24 -dpi 96 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
sleep 1
# Wine's helpers keep the first call's output open: start the server on its own first.
wineserver -p 60 </dev/null >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# The caption's buttons are glyphs of Marlett, which Wine finds only in the prefix's own fonts.
prefix=${WINEPREFIX:-$HOME/.wine}
if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$prefix/drive_c/windows/Fonts/marlett.ttf" ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"
fi

mkdir -p "$out_dir"
out=$(realpath "$out_dir")/zonesend-main.png
wine "$build_dir/tests/zonesend_win32/zonesend_win32_screenshot.exe" "Z:${out//\//\\}" \
    >"$build_dir/zonesend-screenshot.log" 2>&1
echo "$out"
