#!/usr/bin/env bash
# Installs what the project needs, checks the formatting, builds it twice (normal with warnings
# as errors, and with AddressSanitizer and UndefinedBehaviorSanitizer) and runs the whole test
# suite on both builds; then builds the Windows programs and tests them under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

bash scripts/check-format.sh

for preset in ci asan; do
    echo "== ${preset} build =="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    echo "== ${preset} tests =="
    # One test at a time: several tests measure time-outs to the millisecond, and a second
    # test competing for the two cores would only make them wait for the processor.
    ctest --preset "$preset"
done

echo "== Windows =="
QUILLON_LINUX_PRESET=ci QUILLON_WERROR=ON bash scripts/test-windows.sh

echo "== fuzz =="
# Each fuzz target for a short fixed time; any finding fails the run.
bash scripts/fuzz.sh "${FUZZ_SECONDS:-20}"
