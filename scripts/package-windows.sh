#!/usr/bin/env bash
# Builds the Windows programs and packs them: build/quillon-windows-VERSION.zip with
# zonesend.exe, flashwizard.exe, quillon.exe and README-windows.txt. The programs are linked
# statically: each runs from wherever it is copied, with no DLL beside it.
#
#   scripts/package-windows.sh           install what is missing, build preset windows, pack
#   scripts/package-windows.sh --no-deps     skip the package install
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

[ "${1:-}" = "--no-deps" ] || bash scripts/install-deps.sh

jobs=$(nproc)
build=$root/build/windows
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs" --target zonesend flashwizard quillon

version=$(sed -n 's/^project(Quillon VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
programs=("$build/zonesend/zonesend.exe" "$build/flashwizard/flashwizard.exe"
          "$build/tools/quillon.exe")

# Only the system's own DLLs may be imported.
for exe in "${programs[@]}"; do
    [ -f "$exe" ] || { echo "package-windows: $exe was not built" >&2; exit 1; }
    foreign=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' |
              grep -viE '^(kernel32|user32|gdi32|comctl32|comdlg32|advapi32|shell32|ole32|oleaut32|gdiplus|msvcrt|uxtheme|winmm|version)\.dll$' || true)
    if [ -n "$foreign" ]; then
        echo "package-windows: $(basename "$exe") needs DLLs a Windows system lacks: $foreign" >&2
        exit 1
    fi
done

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
folder=$stage/quillon-$version
mkdir -p "$folder"
cp "${programs[@]}" "$folder/"
x86_64-w64-mingw32-strip "$folder"/*.exe
# The read-me in Windows line ends, for Notepad.
sed 's/$/\r/' packaging/README-windows.txt >"$folder/README-windows.txt"

zip_file=$root/build/quillon-windows-$version.zip
rm -f "$zip_file"
(cd "$stage" && zip -q -r -X "$zip_file" "quillon-$version")
echo "package: $zip_file"
unzip -l "$zip_file"
