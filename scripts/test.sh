#!/usr/bin/env bash
# Installs what the project needs, checks the formatting, builds it twice (normal with warnings
# as errors, and with AddressSanitizer and UndefinedBehaviorSanitizer) and runs the whole test
# suite on both builds; builds the Windows programs (64 and 32 bit) and tests them under Wine;
# fuzzes each fuzz target for FUZZ_SECONDS (default 20). Ends with the time of every stage.
#
# The tests run one at a time in the foreground: several measure time-outs to the millisecond.
# The next build runs beside them at the lowest CPU priority, on what the tests leave idle while
# they wait for their pseudo-terminals; the Wine prefix is made during the first build, and the
# fuzzers run beside the Wine tests.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/stages.sh
source scripts/stages.sh
trap 'stage_summary $?' EXIT

stage "packages" bash scripts/install-deps.sh
export QUILLON_NO_DEPS=1

jobs=$(nproc)
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
# The tests choose their languages through LANG and LANGUAGE themselves; a language or locale
# of the caller's session must not decide for them. C.UTF-8 is in every Debian glibc, but a
# minimal system may lack it.
unset LC_ALL LC_MESSAGES LANGUAGE
if locale -a 2>/dev/null | grep -qixE 'c\.utf-?8'; then
    export LANG=C.UTF-8
else
    export LANG=C
    echo "-- locale: C.UTF-8 is not installed; the tests run under C"
fi

stage "format" bash scripts/check-format.sh

build() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$jobs"
}
later_builds() {
    QUILLON_LINUX_PRESET=ci QUILLON_WERROR=ON bash scripts/test-windows.sh build
    bash scripts/fuzz.sh --build
}

stage_start "Wine prefix" bash scripts/test-windows.sh prefix
stage "ci build" build ci
stage_start "asan build" build asan
stage "ci tests" ctest --preset ci
stage_wait "asan build"
stage_start "Windows and fuzz builds" later_builds
# The fault matrix (label slow-e2e) runs once, in the ci build: its code paths are covered under
# the sanitizers by the update, upload and simulator tests and the fuzzers.
stage "asan tests" ctest --preset asan -LE slow-e2e
stage_wait "Windows and fuzz builds"
stage_wait "Wine prefix"
stage_start "fuzz" bash scripts/fuzz.sh "${FUZZ_SECONDS:-20}"
stage "Wine tests" env QUILLON_LINUX_PRESET=ci QUILLON_WERROR=ON bash scripts/test-windows.sh test
stage_wait "fuzz"
echo "fuzz: $(grep -h '^fuzz_' "$(stage_log fuzz)" | tr '\n' ';' | sed 's/;$//; s/;/; /g')"
