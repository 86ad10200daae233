#!/usr/bin/env bash
# The Downloader's Win32 dialogs against the Linux simulator, under Wine:
#
#   wizard_smoke.sh QUILLON-SIM FLASHWIZARD.EXE WIZARD_SMOKE.EXE FIRMWARE.HEX [SHOTS-DIR [LANG]]
#
# The simulated loader (chip model 832, so the records go at 115200) is attached as a COM port of
# the Wine prefix: a link in dosdevices to its pseudo-terminal, and an entry under
# HKLM\Software\Wine\Ports, without which the system's device list would not name it. Uses
# $WINEPREFIX (a private one is made when unset) and $DISPLAY (an own Xvfb when unset). With a
# SHOTS-DIR the wizard runs in a Wine desktop window, whose title bars are drawn like the system's,
# and a picture of every page is saved there as PNG; LANG (en, de or fr) walks the wizard in that
# language, else the wizard speaks the system's language. Exit 77: no simulator, the test is
# skipped.
set -u
sim=$1
exe=$2
driver=$3
firmware=$4
shots=${5:-}
lang=${6:-}
# A prefix prepared by scripts/test-windows.sh names COM29 in its registry, mapped to a fixed
# path; elsewhere COM7 is entered in the registry for this run.
fixed=${QUILLON_WINE_PORT_PATH:-}
com=7
[ -n "$fixed" ] && com=29
registered=0

[ -x "$sim" ] || { echo "no Linux quillon-sim at $sim: skipped"; exit 77; }
command -v wine >/dev/null || { echo "wine is missing"; exit 1; }

work=$(mktemp -d /tmp/wizard-smoke.XXXXXX)
sim_pid=
xvfb_pid=
export WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX=${WINEPREFIX:-$work/prefix}
cleanup() {
    if [ "$registered" -eq 1 ]; then
        wine reg delete 'HKLM\Software\Wine\Ports' /v COM$com /f >/dev/null 2>&1
        wineserver -k >/dev/null 2>&1
    fi
    rm -f "$WINEPREFIX/dosdevices/com$com"
    [ -n "$fixed" ] && rm -f "$fixed"
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

if [ -z "${DISPLAY:-}" ]; then
    Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$work/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
    export DISPLAY=:$(cat "$work/display")
fi
if [ ! -d "$WINEPREFIX/dosdevices" ]; then
    wineboot -u >/dev/null 2>&1
    wineserver -w
fi

# Wine's own fonts (Tahoma behind "MS Shell Dlg", Marlett for the title-bar buttons), which this
# Wine build does not find where the package puts them.
if [ -d /usr/share/wine/fonts ]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
fi

mkdir -p "$work/ports"
"$sim" --port-dir "$work/ports" --com $com --role loader --model 832 \
    --report "$work/report.txt" --log "$work/sim.log" --quiet &
sim_pid=$!
for _ in $(seq 50); do [ -e "$work/ports/COM$com" ] && break; sleep 0.1; done
pty=$(readlink "$work/ports/COM$com") || fail "the simulator did not attach COM$com"

ln -sfn "$pty" "$WINEPREFIX/dosdevices/com$com"
if [ -n "$fixed" ]; then
    ln -sfn "$pty" "$fixed"
else
    wine reg add 'HKLM\Software\Wine\Ports' /v COM$com /d "$pty" /f >"$work/reg.log" 2>&1
    registered=1
    # The device list is read when the server starts.
    wineserver -k >/dev/null 2>&1
    wineserver -w
fi
# Wine's helpers keep the first call's output open: start the server apart from any pipe.
wineserver -p 60 </dev/null >/dev/null 2>&1

# Wine's Z: drive is the Unix root; working it out here saves a Wine start per path.
winpath() {
    local path
    path=$(readlink -f "$1")
    echo "Z:${path//\//\\}"
}
# The firmware sits in a folder whose name is not ASCII, as a German pilot's often is: the
# program's texts are UTF-8, and so must be the names it opens files by.
mkdir -p "$work/Flüge"
cp "$firmware" "$work/Flüge/QLX_V213.HEX"
args=("$(winpath "$exe")" "$(winpath "$work/Flüge/QLX_V213.HEX")" "COM$com")
launcher=(wine)
if [ -n "$shots" ]; then
    mkdir -p "$shots"
    # The pictures show the file where a pilot keeps it, not where the build tree is.
    mkdir -p "$WINEPREFIX/drive_c/Flüge"
    cp "$firmware" "$WINEPREFIX/drive_c/Flüge/QLX_V213.HEX"
    args[1]='C:\Flüge\QLX_V213.HEX'
    args+=(--shots "$(winpath "$work")")
    [ -n "$lang" ] && args+=(--lang "$lang")
    launcher=(wine explorer /desktop=shots,820x560)
fi
"${launcher[@]}" "$driver" "${args[@]}" >"$work/out.txt" 2>&1
rc=$?
cat "$work/out.txt"
[ $rc -eq 0 ] || { cat "$work/sim.log"; fail "the wizard walk failed (exit $rc)"; }
grep -q '^PASS' "$work/out.txt" || fail "the driver did not finish"

records=$(grep -c '^:..\(....\)00' "$firmware")
written=$(grep -c '^write record .* (115200 baud)$' "$work/report.txt")
[ "$written" -eq "$records" ] || fail "$written of $records records written at 115200"
grep -q '^start (9600 baud)$' "$work/report.txt" || fail "the program was not started at 9600"

if [ -n "$shots" ]; then
    for bmp in "$work"/flashwizard-step*.bmp; do
        convert "$bmp" "$shots/$(basename "$bmp" .bmp).png" || fail "cannot convert $bmp"
    done
fi
echo "PASS: $records records written at 115200, program started at 9600"
