#!/usr/bin/env bash
# Takes a picture of each of the Windows Downloader's six pages under Wine, walking a whole update
# against the simulator, and stores them in docs/screenshots/windows/flashwizard-step<N>.png
# (German), or in docs/screenshots/windows/<LANG>/ for English (en) and French (fr).
# Builds flashwizard.exe (windows preset) and the Linux quillon-sim (dev preset) when needed.
# Uses $WINEPREFIX and $DISPLAY if set, else a private prefix and an own Xvfb.
#
#   scripts/screenshots-flashwizard-windows.sh [LANG]
set -euo pipefail
cd "$(dirname "$0")/.."
lang=${1:-de}
out_dir=docs/screenshots/windows
[ "$lang" = de ] || out_dir=docs/screenshots/windows/$lang

[ -f build/windows/CMakeCache.txt ] || cmake --preset windows >/dev/null
cmake --build --preset windows --target flashwizard wizard_smoke -j 2
[ -f build/dev/CMakeCache.txt ] || cmake --preset dev >/dev/null
cmake --build --preset dev --target quillon-sim -j 2

bash tests/flashwizard_win32/wizard_smoke.sh build/dev/tools/sim/quillon-sim \
    build/windows/flashwizard/flashwizard.exe \
    build/windows/tests/flashwizard_win32/wizard_smoke.exe samples/demo-firmware.hex \
    "$out_dir" "$lang"
