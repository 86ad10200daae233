#!/usr/bin/env bash
# quillon.exe's pictures under Wine: preview and map are PNG files of the asked size, drawn (not
# blank), and SVG is refused as a usage error on Windows.
#
#   quillon_pictures_test.sh QUILLON_EXE SOURCE_DIR
set -u
exe=$1
source=$2
export WINEDEBUG=-all
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
# Wine's output goes to a file: its helper processes may keep a pipe open.
win() { wine "$exe" "$@" >"$work/out" 2>&1 </dev/null; }

# The width and height a PNG's header gives, and whether it holds more than one colour.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{printf "%dx%d", $3*256+$4, $7*256+$8}'; }

win preview "$source/samples/demo.txt" 2 -o "$work/preview.png" --size 300x200 ||
    fail "preview: $(cat "$work/out")"
grep -q "DEMO Vessa TMA north arc, 29 bytes" "$work/out" || fail "preview said: $(cat "$work/out")"
[ "$(png_size "$work/preview.png")" = 300x200 ] || fail "preview is $(png_size "$work/preview.png")"

win map "$source/samples/demo.txt" -o "$work/map.png" || fail "map: $(cat "$work/out")"
grep -q "6 of 6 matching airspace(s), 119 bytes" "$work/out" || fail "map said: $(cat "$work/out")"
[ "$(png_size "$work/map.png")" = 800x600 ] || fail "map is $(png_size "$work/map.png")"
# A drawn picture compresses far worse than a blank page of the same size.
[ "$(stat -c %s "$work/map.png")" -gt 4000 ] || fail "the map looks blank"

win preview "$source/samples/demo.txt" 2 -o "$work/preview.svg"
[ $? -eq 2 ] || fail "SVG was not refused as a usage error"
grep -q "must end in .png" "$work/out" || fail "refusal said: $(cat "$work/out")"
[ ! -e "$work/preview.svg" ] || fail "an SVG file was written"
echo "preview $(png_size "$work/preview.png"), map $(png_size "$work/map.png")"
