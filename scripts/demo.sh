#!/usr/bin/env bash
# Installs what the project needs, builds it and runs the main job on the built-in sample.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$(nproc)"

./build/dev/tools/quillon list samples/demo.txt
