#!/usr/bin/env bash
# Builds the Windows programs (presets windows and windows32) and tests them under Wine:
# the unit tests of the non-Qt libraries, quillon.exe end to end against the Linux quillon-sim
# through COM ports of the Wine prefix, and the dialog programs' smoke tests (label wine-gui)
# under a private Xvfb.
#
#   scripts/test-windows.sh [STEP...]   install what is missing, then the steps (default: all)
#       build    the Linux programs the tests use, preset windows, and preset windows32 (its
#                programs and the test programs the 32-bit smoke tests run)
#       prefix   make the Wine prefix, unless a complete one is there
#       test     the Wine tests of both builds (32-bit ones only where 32-bit Wine works)
#   WINEPREFIX=DIR scripts/test-windows.sh   use (and prepare) that prefix; default build/wine
#   QUILLON_XVFB_DISPLAY=N             the X display for the dialog tests (default: a free one
#                                      that Xvfb picks; a server already on N is used as it is)
#   QUILLON_LINUX_PRESET=P             the Linux build to test against (default dev)
#   QUILLON_WERROR=ON                  warnings are errors in the Windows builds too
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
# shellcheck source=scripts/stages.sh
source scripts/stages.sh
trap 'stage_summary $?' EXIT

steps=("$@")
[ "${#steps[@]}" -gt 0 ] || steps=(build prefix test)

[ -n "${QUILLON_NO_DEPS:-}" ] || bash scripts/install-deps.sh

jobs=$(nproc)
export WINEPREFIX=${WINEPREFIX:-$root/build/wine}
export WINEDEBUG=-all
# The prefix's registry maps COM29 to this path, so that the system's own listing
# (QueryDosDeviceA) names it; the ports test links it to the simulator's pseudo-terminal.
export QUILLON_WINE_PORT_PATH=$WINEPREFIX/quillon-com29
log=$root/build/wine-logs
mkdir -p "$log"
# Written last by the prefix step: a prefix without it was interrupted and is made anew.
prefix_ready=$WINEPREFIX/.quillon-prefix-ready

linux_preset=${QUILLON_LINUX_PRESET:-dev}
windows_options=(-DQUILLON_LINUX_BUILD_DIR="$root/build/$linux_preset"
                 -DQUILLON_WERROR="${QUILLON_WERROR:-OFF}")
# What proves the 32-bit build: the programs, and the test programs of its smoke tests.
windows32_targets=(zonesend flashwizard quillon airspace_tests)
windows32_tests='airspace_tests|wine_cli_(files|flash)'

build_linux_side() {
    [ -f "build/$linux_preset/build.ninja" ] || cmake --preset "$linux_preset" >/dev/null
    cmake --build --preset "$linux_preset" -j "$jobs" --target quillon quillon-sim openair_generate
}

build_windows() {
    cmake --preset windows "${windows_options[@]}" >/dev/null
    cmake --build --preset windows -j "$jobs"
}

# The 32-bit build only has to compile and pass its smoke tests: no optimisation, fewer targets.
build_windows32() {
    cmake --preset windows32 "${windows_options[@]}" -DCMAKE_CXX_FLAGS_RELEASE="-O0 -DNDEBUG" \
        >/dev/null
    cmake --build --preset windows32 -j "$jobs" --target "${windows32_targets[@]}"
}

make_prefix() {
    if [ -f "$prefix_ready" ]; then
        echo "Wine prefix $WINEPREFIX is ready from an earlier run"
        return 0
    fi
    # A server of this prefix left by an interrupted run would hold the half-made prefix.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    # The prefix of these scripts is made anew; one given by the user is only updated.
    if [ "$WINEPREFIX" = "$root/build/wine" ]; then rm -rf "$WINEPREFIX"; fi
    wineboot -u >"$log/wineboot.log" 2>&1 </dev/null
    wineserver -w
    wine reg add 'HKLM\Software\Wine\Ports' /v COM29 /d "$QUILLON_WINE_PORT_PATH" /f \
        >"$log/reg.log" 2>&1 </dev/null
    wineserver -w
    wine --version >"$prefix_ready"
}

start_wineserver() {
    # A server left running by an earlier run (or by the prefix step) has read its port list
    # before the COM29 value, or holds a finished run's pipes: start a new one.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    # A server that stays, and a first call with its output in a file: Wine's helper processes
    # inherit the first call's output and would keep a test's pipe open.
    wineserver -p 120 </dev/null >/dev/null 2>&1
    wine cmd /c exit >"$log/first-call.log" 2>&1 </dev/null
}

xvfb_pid=
stop_servers() {
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    wineserver -k 2>/dev/null || true
}

# Sets DISPLAY to a running X server: the one asked for if it is already there, else a new Xvfb.
# Returns 1 when there is none (no Xvfb installed, or it does not start).
start_display() {
    local wanted=${QUILLON_XVFB_DISPLAY:-} lock pid
    if [ -n "$wanted" ]; then
        lock=/tmp/.X$wanted-lock
        pid=$(tr -d ' ' <"$lock" 2>/dev/null || true)
        if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
            echo "X display :$wanted is already served (process $pid); the tests use it"
            export DISPLAY=:$wanted
            return 0
        fi
    fi
    command -v Xvfb >/dev/null || return 1
    local fdfile=$log/xvfb-display
    rm -f "$fdfile"
    if [ -n "$wanted" ]; then
        Xvfb ":$wanted" -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp \
            3>"$fdfile" >"$log/xvfb.log" 2>&1 &
    else
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp \
            3>"$fdfile" >"$log/xvfb.log" 2>&1 &
    fi
    xvfb_pid=$!
    # Xvfb writes the display's number once it accepts clients.
    local tries
    for tries in $(seq 100 -1 1); do
        if [ -s "$fdfile" ]; then
            DISPLAY=:$(tr -d '\n' <"$fdfile")
            export DISPLAY
            return 0
        fi
        kill -0 "$xvfb_pid" 2>/dev/null || break
        [ "$tries" -gt 1 ] || echo "Xvfb gave no display number in 10 s" >&2
        sleep 0.1
    done
    xvfb_pid=
    return 1
}

# True where 32-bit programs really run: Debian's 64-bit Wine without wine32 prints "it looks
# like wine32 is missing", crashes in its start-up and still exits with 0, so the test program
# has to get as far as its own summary.
wine32_missing=
wine32_works() {
    # Every 32-bit Wine for Debian (its wine32, or WineHQ's packages) needs the i386 architecture.
    if ! dpkg --print-foreign-architectures 2>/dev/null | grep -qx i386; then
        wine32_missing="the i386 architecture is not enabled, so wine32:i386 is not installed"
        return 1
    fi
    wine build/windows32/tests/airspace/airspace_tests.exe --gtest_brief=1 \
        >"$log/wine32-check.log" 2>&1 </dev/null || true
    if ! grep -q '^\[  PASSED  \]' "$log/wine32-check.log"; then
        wine32_missing="a 32-bit test program did not run to its end, see $log/wine32-check.log"
        return 1
    fi
}

run_tests() {
    trap 'stop_servers; stage_summary $?' EXIT
    start_wineserver
    if start_display; then
        stage "windows tests" ctest --preset windows
    else
        stage "windows tests" ctest --preset windows -LE wine-gui
        stage_note "windows dialog tests" "no X server could be started (Xvfb missing?); wine-gui tests left out"
    fi
    if wine32_works; then
        stage "windows32 smoke tests" ctest --preset windows32 -R "$windows32_tests"
    else
        stage_note "windows32 smoke tests" "32-bit Wine cannot run here ($wine32_missing); built only"
    fi
}

for step in "${steps[@]}"; do
    case $step in
        build)
            stage "Linux side ($linux_preset)" build_linux_side
            stage "windows build" build_windows
            stage "windows32 build" build_windows32
            ;;
        prefix) stage "Wine prefix" make_prefix ;;
        test) run_tests ;;
        *)
            echo "test-windows.sh: unknown step $step (build, prefix, test)" >&2
            exit 2
            ;;
    esac
done
