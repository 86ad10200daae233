#!/usr/bin/env bash
# The Windows dialog's upload to the Linux quillon-sim: the simulator plays the airspace store on
# a pseudo-terminal, the Wine prefix's COM32 is linked to it, and the smoke test's send case
# selects two lines and presses "Send Airspace" with the real port.
#
#   dialog_send_test.sh SMOKE_EXE LINUX_BUILD_DIR SOURCE_DIR
# WINEPREFIX must be prepared and DISPLAY set (scripts/test-windows.sh does both).
set -u
exe=$1
sim=$2/tools/sim/quillon-sim
source=$3
: "${WINEPREFIX:?WINEPREFIX must name the prepared Wine prefix}"
export WINEDEBUG=-all
fail() { echo "FAIL: $*"; exit 1; }
[ -x "$sim" ] || fail "$sim is missing (build the dev preset first)"

work=$(mktemp -d)
link=$WINEPREFIX/dosdevices/com32
sim_pid=
cleanup() {
    if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null; fi
    rm -f "$link"
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/ports"
"$sim" --port-dir "$work/ports" --com 32 --role store --names "$source/samples/demo.txt" \
    --report "$work/report.txt" --log "$work/sim.log" --quiet &
sim_pid=$!
for _ in $(seq 100); do [ -e "$work/ports/COM32" ] && break; sleep 0.05; done
[ -e "$work/ports/COM32" ] || fail "the simulator did not attach COM32"
ln -sfn "$(readlink -f "$work/ports/COM32")" "$link"

# Wine's output goes to a file: its helper processes may keep a pipe open.
ZONESEND_SEND_PORT=COM32 wine "$exe" --gtest_filter='DialogTest.SendsTheSelectionThroughARealPort' \
    >"$work/test.out" 2>&1 </dev/null
rc=$?
kill "$sim_pid" 2>/dev/null
wait "$sim_pid" 2>/dev/null  # the simulator writes its report as it ends
sim_pid=
cat "$work/test.out"
[ $rc -eq 0 ] || fail "the dialog's upload failed"
grep -q "SKIPPED" "$work/test.out" && fail "the send case did not run"
grep -q "^  2 airspace(s), " "$work/report.txt" ||
    fail "the two airspaces did not arrive: $(cat "$work/report.txt")"
echo "the simulator received: $(grep -m1 'airspace(s)' "$work/report.txt")"
