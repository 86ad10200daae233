#!/usr/bin/env bash
# Builds the Windows programs (presets windows and windows32) and tests them under Wine:
# the unit tests of the non-Qt libraries, quillon.exe end to end against the Linux quillon-sim
# through COM ports of the Wine prefix, and the dialog programs' smoke tests (label wine-gui)
# under a private Xvfb.
#
#   scripts/test-windows.sh            install what is missing, build, prepare the prefix, test
#   WINEPREFIX=DIR scripts/test-windows.sh   use (and prepare) that prefix; default build/wine
#   QUILLON_XVFB_DISPLAY=N             the X display for the dialog tests (default 93)
#   QUILLON_LINUX_PRESET=P             the Linux build to test against (default dev)
#   QUILLON_WERROR=ON                  warnings are errors in the Windows builds too
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/install-deps.sh

jobs=$(nproc)
export WINEPREFIX=${WINEPREFIX:-$root/build/wine}
export WINEDEBUG=-all
# The prefix's registry maps COM29 to this path, so that the system's own listing
# (QueryDosDeviceA) names it; the ports test links it to the simulator's pseudo-terminal.
export QUILLON_WINE_PORT_PATH=$WINEPREFIX/quillon-com29
display=${QUILLON_XVFB_DISPLAY:-93}
log=$root/build/wine-logs
mkdir -p "$log"

timed() {
    local what=$1 start=$SECONDS
    shift
    "$@"
    echo "-- $what: $((SECONDS - start)) s"
}

# The Linux programs the Windows build is compared with and tested against.
linux_preset=${QUILLON_LINUX_PRESET:-dev}
echo "== Linux side ($linux_preset) for the Wine tests =="
[ -f "build/$linux_preset/build.ninja" ] || cmake --preset "$linux_preset" >/dev/null
timed "Linux quillon, quillon-sim, openair_generate" \
    cmake --build --preset "$linux_preset" -j "$jobs" --target quillon quillon-sim openair_generate

windows_options=(-DQUILLON_LINUX_BUILD_DIR="$root/build/$linux_preset"
                 -DQUILLON_WERROR="${QUILLON_WERROR:-OFF}")
echo "== windows build =="
cmake --preset windows "${windows_options[@]}" >/dev/null
timed "windows build" cmake --build --preset windows -j "$jobs"

echo "== Wine prefix $WINEPREFIX =="
prepare_prefix() {
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        wineboot -u >"$log/wineboot.log" 2>&1 </dev/null
        wineserver -w
    fi
    wine reg add 'HKLM\Software\Wine\Ports' /v COM29 /d "$QUILLON_WINE_PORT_PATH" /f \
        >"$log/reg.log" 2>&1 </dev/null
    # The port list is read when the server starts.
    wineserver -k || true
    wineserver -w || true
    # A server that stays, and a first call with its output in a file: Wine's helper processes
    # inherit the first call's output and would keep a test's pipe open.
    wineserver -p 120 </dev/null >/dev/null 2>&1
    wine cmd /c exit >"$log/first-call.log" 2>&1 </dev/null
}
timed "prefix" prepare_prefix

xvfb_pid=
cleanup() {
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
Xvfb ":$display" -screen 0 1280x1024x24 -dpi 96 -nolisten tcp >"$log/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=:$display

echo "== windows tests =="
timed "windows tests" ctest --preset windows

echo "== windows32 =="
cmake --preset windows32 "${windows_options[@]}" >/dev/null
timed "windows32 build" cmake --build --preset windows32 -j "$jobs"
# 32-bit programs need the i386 Wine packages; where they are missing the build alone is
# checked.
if wine build/windows32/tests/seriallink/seriallink_tests.exe --gtest_brief=1 \
    >"$log/wine32-check.log" 2>&1 </dev/null; then
    timed "windows32 smoke tests" ctest --preset windows32 -R 'airspace_tests|wine_cli_(files|flash)'
else
    echo "-- windows32: 32-bit Wine cannot run here (see $log/wine32-check.log); built only"
fi
