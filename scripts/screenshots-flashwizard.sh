#!/usr/bin/env bash
# Takes a picture of each of the Downloader's six pages under a virtual X server and stores them
# in docs/screenshots/flashwizard-step<N>.png; in English or French in docs/screenshots/en/ or
# docs/screenshots/fr/. Needs xvfb and xauth (scripts/install-deps.sh).
#
#   scripts/screenshots-flashwizard.sh [BUILD_DIR [LANG]]    (default build/dev, German)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build/dev}
lang=${2:-de}
out_dir=docs/screenshots
[ "$lang" = de ] || out_dir=docs/screenshots/$lang

if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build_dir" --target flashwizard_screenshots -j 2

mkdir -p "$out_dir"
# A 96 dpi screen, as the dialog templates were laid out for.
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -dpi 96" \
    "$build_dir/tests/flashwizard/flashwizard_screenshots" "$out_dir" "$lang"
