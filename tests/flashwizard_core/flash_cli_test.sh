#!/usr/bin/env bash
# quillon flash against quillon-sim in the loader role, with the product's real timings:
# usage errors, a file that is not HEX, a missing port, then a full update of the demo firmware.
set -u
quillon=$1
sim=$2
firmware=$3

work=$(mktemp -d)
sim_pid=
cleanup() {
    if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

export KORVALIS_PORT_DIR=$work/ports
# English unless a case asks for German.
export LANG=C.UTF-8 LC_ALL= LC_MESSAGES= LANGUAGE=
mkdir -p "$KORVALIS_PORT_DIR"

"$quillon" flash >/dev/null 2>&1
[ $? -eq 2 ] || fail "no arguments should be a usage error"
"$quillon" flash "$firmware" >/dev/null 2>&1
[ $? -eq 2 ] || fail "a missing --port should be a usage error"

echo "not a hex file" > "$work/notes.txt"
out=$(LANG=de_DE.UTF-8 "$quillon" flash "$work/notes.txt" --port COM5 2>&1)
[ $? -eq 1 ] || fail "a text file should be refused"
grep -q "keine gültige .HEX Datei" <<<"$out" || fail "message 147 missing: $out"
out=$("$quillon" flash "$work/notes.txt" --port COM5 2>&1)
grep -q "is not a valid .HEX file" <<<"$out" || fail "English message 147 missing: $out"

out=$(LANG=de_DE.UTF-8 "$quillon" flash "$firmware" --port COM5 2>&1)
[ $? -eq 1 ] || fail "a missing port should fail"
grep -q "konnte nicht geöffnet werden" <<<"$out" || fail "message 156 missing: $out"
grep -q "^quillon: COM5: kein solcher Port" <<<"$out" || fail "no cause given: $out"

"$sim" --port-dir "$KORVALIS_PORT_DIR" --com 5 --role loader --model 832 \
    --report "$work/report.txt" --log "$work/sim.log" --quiet &
sim_pid=$!
for _ in $(seq 50); do [ -e "$KORVALIS_PORT_DIR/COM5" ] && break; sleep 0.1; done
[ -e "$KORVALIS_PORT_DIR/COM5" ] || fail "the simulator did not attach COM5"

"$quillon" flash "$firmware" --port COM5 >"$work/out.txt" 2>&1
rc=$?
cat "$work/out.txt"
[ $rc -eq 0 ] || fail "the update should succeed (exit $rc)"
grep -q "Update completed successfully" "$work/out.txt" || fail "no success text"
# Not a terminal: one progress line per tenth of the download, the last at 100 %.
steps=$(grep -cE '^ *[0-9]+/[0-9]+ +[0-9]+ %$' "$work/out.txt")
[ "$steps" -eq 10 ] || fail "$steps progress lines instead of 10"
grep -qE '^ *([0-9]+)/\1 +100 %$' "$work/out.txt" || fail "no line at 100 %"
records=$(grep -c '^:..\(....\)00' "$firmware")
written=$(grep -c '^write record .* (115200 baud)$' "$work/report.txt")
[ "$written" -eq "$records" ] || fail "$written of $records records written at 115200"
grep -q '^start (9600 baud)$' "$work/report.txt" || fail "the program was not started at 9600"
echo "PASS"
