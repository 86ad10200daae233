#!/usr/bin/env bash
# Takes a picture of each of the Downloader's six pages under a virtual X server and stores them
# in docs/screenshots/flashwizard-step<N>.png. Needs xvfb and xauth (scripts/install-deps.sh).
#
#   scripts/screenshots-flashwizard.sh [BUILD_DIR]     (default build/dev)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build/dev}
out_dir=docs/screenshots

if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build_dir" --target flashwizard_screenshots -j 2

mkdir -p "$out_dir"
# A 96 dpi screen, as the dialog templates were laid out for.
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -dpi 96" \
    "$build_dir/tests/flashwizard/flashwizard_screenshots" "$out_dir"
