#!/usr/bin/env bash
# Installs what the project needs, builds it and runs the main job against the simulated
# instrument (quillon-sim on a pseudo-terminal, attached as a COM port in a private port folder).
#
#   scripts/demo.sh              Airspace Setup: zonesend with the sample OpenAir file; without a
#                                display, the same upload headless with `quillon send`
#   scripts/demo.sh --wizard     Downloader: flashwizard with the sample firmware; without a
#                                display, the same update headless with `quillon flash`
#   --headless                   run the headless job even where a display is available
set -euo pipefail
cd "$(dirname "$0")/.."

job=airspace
headless=0
for arg in "$@"; do
    case "$arg" in
        --wizard) job=firmware ;;
        --headless) headless=1 ;;
        -h | --help) sed -n '2,10p' "$0"; exit 0 ;;
        *) echo "demo.sh: unknown option $arg" >&2; exit 2 ;;
    esac
done
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    [ "$headless" -eq 1 ] || echo "No display found: running the same job headless."
    headless=1
fi

bash scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc)"

bin=build/dev
ports=$(mktemp -d /tmp/quillon-demo.XXXXXX)
sim_pid=
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    rm -rf "$ports"
}
trap cleanup EXIT

start_sim() {  # COM number, then the simulator's role and options
    local com=$1
    shift
    "$bin/tools/sim/quillon-sim" --port-dir "$ports" --com "$com" --log "$ports/sim.log" --quiet "$@" &
    sim_pid=$!
    for _ in $(seq 50); do
        [ -e "$ports/COM$com" ] && return 0
        sleep 0.1
    done
    echo "demo.sh: the simulator did not attach COM$com" >&2
    exit 1
}
export KORVALIS_PORT_DIR=$ports

if [ "$job" = airspace ]; then
    start_sim 5 --role store --pace --names samples/demo.txt --report "$ports/report.txt"
    echo "The simulated Quillon is attached as COM5 (airspace store, 228 free blocks)."
    if [ "$headless" -eq 0 ]; then
        echo "Load samples/demo.txt, select airspaces and press \"Send Airspace\" with COM5."
        "$bin/zonesend/zonesend"
    else
        echo
        echo "== quillon list samples/demo.txt"
        "$bin/tools/quillon" list samples/demo.txt
        echo
        echo "== quillon send samples/demo.txt --port COM5 --all"
        "$bin/tools/quillon" send samples/demo.txt --port COM5 --all
    fi
    echo
    echo "== What the simulated instrument received"
    cat "$ports/report.txt" 2>/dev/null || echo "(nothing was sent)"
else
    start_sim 6 --role loader --model 832 --pace --image "$ports/image.hex"
    echo "The simulated Quillon is attached as COM6 (download loader, chip model 832)."
    if [ "$headless" -eq 0 ]; then
        echo "Choose samples/demo-firmware.hex, follow the pages and pick COM6 on step 5."
        "$bin/flashwizard/flashwizard"
    else
        echo
        echo "== quillon flash samples/demo-firmware.hex --port COM6"
        "$bin/tools/quillon" flash samples/demo-firmware.hex --port COM6
    fi
    echo
    echo "== The simulated loader's exchange log (last lines)"
    tail -n 8 "$ports/sim.log"
fi
