#!/usr/bin/env bash
# quillon.exe under Wine against the Linux build: the same files give the same bytes, and the
# Linux quillon-sim, reached through a COM port of the Wine prefix linked to its
# pseudo-terminal, is uploaded to, flashed (with the switch to 115200 baud) and, when silent,
# timed out on like the Linux quillon does.
#
#   wine_cli_test.sh CASE QUILLON_EXE LINUX_BUILD_DIR SOURCE_DIR
#   CASE: files | send | flash | silent | ports
# WINEPREFIX must be prepared (scripts/test-windows.sh does it).
set -u
case_name=$1
exe=$2
linux=$3
source=$4
quillon=$linux/tools/quillon
sim=$linux/tools/sim/quillon-sim
generate=$linux/tests/airspace/openair_generate
: "${WINEPREFIX:?WINEPREFIX must name the prepared Wine prefix}"
export WINEDEBUG=-all

work=$(mktemp -d)
sim_pid=
links=()
cleanup() {
    if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null; fi
    for link in "${links[@]}"; do rm -f "$link"; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
for program in "$exe" "$quillon" "$sim" "$generate"; do
    [ -x "$program" ] || fail "$program is missing (build the dev preset first)"
done

# Wine's output goes to files: its helper processes may keep a pipe open.
win() { wine "$exe" "$@" >"$work/win.out" 2>&1 </dev/null; }
lin() { "$quillon" "$@" >"$work/lin.out" 2>&1 </dev/null; }
now_ms() { date +%s%3N; }

# Starts the simulator on COM$1 with the remaining options and links the Wine prefix's com$1 to
# its pseudo-terminal. The Linux run uses the same simulator through KORVALIS_PORT_DIR.
start_sim() {
    local com=$1
    shift
    mkdir -p "$work/ports"
    "$sim" --port-dir "$work/ports" --com "$com" --report "$work/report.txt" \
        --log "$work/sim.log" --quiet "$@" &
    sim_pid=$!
    for _ in $(seq 100); do [ -e "$work/ports/COM$com" ] && break; sleep 0.05; done
    [ -e "$work/ports/COM$com" ] || fail "the simulator did not attach COM$com"
    local link=$WINEPREFIX/dosdevices/com$com
    ln -sfn "$(readlink -f "$work/ports/COM$com")" "$link"
    links+=("$link")
}
stop_sim() {
    kill "$sim_pid" 2>/dev/null
    wait "$sim_pid" 2>/dev/null
    sim_pid=
}

# Both programs on the same arguments: same exit status, same bytes.
# win_ms and lin_ms tell how long each took.
same_output() {
    local start
    start=$(now_ms)
    win "$@"
    local win_rc=$?
    win_ms=$(($(now_ms) - start))
    start=$(now_ms)
    KORVALIS_PORT_DIR=$work/ports lin "$@"
    local lin_rc=$?
    lin_ms=$(($(now_ms) - start))
    [ "$win_rc" -eq "$lin_rc" ] || fail "quillon $* exits $win_rc on Windows, $lin_rc on Linux"
    cmp -s "$work/win.out" "$work/lin.out" ||
        fail "quillon $* differs: $(diff "$work/lin.out" "$work/win.out" | head -5)"
}

case $case_name in
files)
    # The sample and generated files in every shape the field uses: line ends, character sets,
    # lower-case keywords, all four hemispheres, very large polygons.
    cp "$source/samples/demo.txt" "$work/demo.txt"
    "$generate" 1 400 >"$work/crlf.txt"
    "$generate" 2 400 lf latin1 >"$work/latin1.txt"
    "$generate" 3 400 utf8 lower hemisphere 3 >"$work/utf8.txt"
    "$generate" 4 3000 lf hemisphere 1 >"$work/large.txt"
    printf 'AC R\r\nAN No line end at the end\r\nDP 46:50:00 N 007:10:00 E' >"$work/tail.txt"
    for file in demo crlf latin1 utf8 large tail; do
        (cd "$work" && same_output list "$file.txt") || exit 1
        (cd "$work" && same_output encode "$file.txt") || exit 1
    done
    win list "$work/no-such-file.txt"
    [ $? -eq 1 ] || fail "a missing file should fail with status 1"
    grep -q "^quillon: cannot read '.*no-such-file.txt': " "$work/win.out" ||
        fail "no system text for a missing file: $(cat "$work/win.out")"
    # Names with letters beyond ASCII, read and written as the pilot typed them.
    cp "$source/samples/demo.txt" "$work/Lufträume-é.txt"
    (cd "$work" && same_output list "Lufträume-é.txt") || exit 1
    (cd "$work" && win preview "Lufträume-é.txt" 1 -o "Karte-ü.png")
    [ $? -eq 0 ] || fail "preview into Karte-ü.png: $(cat "$work/win.out")"
    [ -s "$work/Karte-ü.png" ] || fail "no Karte-ü.png: $(ls "$work")"
    # The Windows help offers what the Windows build does: PNG only, the system's own ports.
    for language in C.UTF-8 de_DE.UTF-8; do
        for command in preview map ports; do
            LC_ALL=$language win help "$command"
            ! grep -q -i 'svg\|KORVALIS_PORT_DIR' "$work/win.out" ||
                fail "$language help $command: $(grep -i 'svg\|KORVALIS_PORT_DIR' "$work/win.out")"
        done
    done
    # In a console, names beyond ASCII read as written: UTF-8 output code page, whole letters
    # (script gives Wine a terminal, hence a console).
    printf 'AC R\r\nAN Zürich Süd\r\nAL GND\r\nAH FL50\r\nDP 47:00:00 N 008:00:00 E\r\nDP 47:05:00 N 008:00:00 E\r\nDP 47:05:00 N 008:05:00 E\r\n' >"$work/zh.txt"
    (cd "$work" && LC_ALL=C.UTF-8 script -qec "wine '$exe' list zh.txt" /dev/null \
        </dev/null >"$work/console.out" 2>&1)
    sed 's/\x1b\[[^a-zA-Z]*[a-zA-Z]//g' "$work/console.out" | grep -q "Zürich Süd" ||
        fail "garbled in a console: $(grep -a 'R ' "$work/console.out" | head -2)"
    ;;
send)
    start_sim 21 --role store --names "$source/samples/demo.txt"
    same_output send "$source/samples/demo.txt" --port COM21 --all
    grep -qx "Download succeded" "$work/win.out" || fail "no success text: $(cat "$work/win.out")"
    same_output send "$source/samples/demo.txt" --port COM21 --select 1,4
    stop_sim  # the simulator writes its report as it ends
    # Uploads 1 and 3 came from Windows, 2 and 4 from Linux: the same blocks arrived.
    sed -n '/^upload 1:/,/^upload 2:/p' "$work/report.txt" | sed '1d;$d' >"$work/upload1"
    sed -n '/^upload 2:/,/^upload 3:/p' "$work/report.txt" | sed '1d;$d' >"$work/upload2"
    sed -n '/^upload 3:/,/^upload 4:/p' "$work/report.txt" | sed '1d;$d' >"$work/upload3"
    sed -n '/^upload 4:/,$p' "$work/report.txt" | sed '1d' >"$work/upload4"
    grep -q "^  6 airspace(s), 119 bytes of airspace data" "$work/upload1" ||
        fail "the upload of all six did not arrive: $(cat "$work/report.txt")"
    grep -q "^  2 airspace(s), " "$work/upload3" || fail "the upload of two did not arrive"
    cmp -s "$work/upload1" "$work/upload2" && cmp -s "$work/upload3" "$work/upload4" ||
        fail "Windows and Linux sent different blocks: $(cat "$work/report.txt")"
    # The pilot's language decides the texts, on Windows the user's interface language.
    LC_ALL=de_DE.UTF-8 win send "$source/samples/demo.txt" --port COM20 --all
    grep -qx "Port lässt sich nicht öffnen" "$work/win.out" ||
        fail "no German text: $(cat "$work/win.out")"
    ;;
flash)
    start_sim 22 --role loader --model 832
    # The Downloader's own German texts, chosen by the user's language as on Linux.
    LC_ALL=de_DE.UTF-8 win flash "$source/samples/demo-firmware.hex" --port COM22
    rc=$?
    stop_sim
    [ $rc -eq 0 ] || fail "the update failed (exit $rc): $(tail -5 "$work/win.out")"
    grep -q "Update erfolgreich abgeschlossen" "$work/win.out" || fail "no success text"
    records=$(grep -c '^:..\(....\)00' "$source/samples/demo-firmware.hex")
    written=$(grep -c '^write record .* (115200 baud)$' "$work/report.txt")
    [ "$written" -eq "$records" ] || fail "$written of $records records written at 115200"
    grep -q '^start (9600 baud)$' "$work/report.txt" || fail "the program was not started at 9600"
    ;;
silent)
    # A silent instrument: the same message after the same retries and time-outs. The time
    # under Wine may be longer by the start of Wine, never shorter than on Linux.
    check_silent() {
        same_output "$@"
        echo "quillon $1 to a silent instrument: Linux $lin_ms ms, Windows $win_ms ms"
        [ "$win_ms" -ge $((lin_ms * 9 / 10)) ] || fail "gave up early under Wine: read time-outs?"
        [ "$win_ms" -le $((lin_ms * 3 / 2 + 3000)) ] || fail "took far longer under Wine"
    }
    start_sim 23 --role store --silent
    check_silent send "$source/samples/demo.txt" --port COM23 --all
    grep -qx "No responce from Quillon" "$work/win.out" || fail "wrong text: $(cat "$work/win.out")"
    stop_sim
    start_sim 24 --role loader --model 832 --silent
    check_silent flash "$source/samples/demo-firmware.hex" --port COM24
    ;;
ports)
    # Ports that the system names: QueryDosDeviceA lists COM29, which the prefix's registry
    # maps to a fixed path (scripts/test-windows.sh), here linked to the simulator.
    fixed=${QUILLON_WINE_PORT_PATH:?the fixed path of COM29}
    start_sim 29 --role store
    ln -sfn "$(readlink -f "$work/ports/COM29")" "$fixed"
    links+=("$fixed")
    win ports
    grep -q "^COM29	" "$work/win.out" || fail "COM29 not listed: $(cat "$work/win.out")"
    win send "$source/samples/demo.txt" --port COM29 --all
    grep -qx "Download succeded" "$work/win.out" || fail "no upload: $(cat "$work/win.out")"
    ;;
*)
    fail "unknown case $case_name"
    ;;
esac
echo "PASS"
