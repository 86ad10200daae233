#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (preset "fuzz"), makes their seed corpora from
# the samples, and runs each target for SECONDS (default 20). Fails on any finding (a crash, a
# sanitizer report, a broken invariant, a hang), whose input libFuzzer leaves in build/fuzz.
#   scripts/fuzz.sh [SECONDS]
# Without clang the targets are built as replay programs by the ordinary build instead, and the
# test run replays their seeds.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
targets=(openair decoder hexfile sim_roles simplify)

if ! command -v clang++ >/dev/null; then
    echo "fuzz.sh: clang++ not found; the seeds are replayed by the test run only"
    exit 0
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" --target fuzz_make_seeds "${targets[@]/#/fuzz_}"

out=build/fuzz/tests/fuzz
rm -rf "$out/seeds" "$out/corpus"
ASAN_OPTIONS=detect_leaks=0 "$out/fuzz_make_seeds" samples "$out/seeds"

status=0
for name in "${targets[@]}"; do
    mkdir -p "$out/corpus/$name" "$out/findings/$name"
    log="$out/$name.log"
    # The corpus grows in its own directory; the seeds are read alongside and never changed.
    if ! "$out/fuzz_$name" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=1024 \
        -artifact_prefix="$out/findings/$name/" -print_final_stats=1 \
        "$out/corpus/$name" "$out/seeds/$name" >"$log" 2>&1; then
        echo "fuzz_$name: FINDING (see $log and $out/findings/$name/)"
        tail -20 "$log"
        status=1
        continue
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz_$name: ${runs:-?} executions in ${seconds} s, no finding"
done
exit $status
