#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (preset "fuzz"), makes their seed corpora from
# the samples, and runs each target for SECONDS (default 20), as many at once as there are
# cores. Fails on any finding (a crash, a sanitizer report, a broken invariant, a hang), whose
# input libFuzzer leaves in build/fuzz.
#   scripts/fuzz.sh [SECONDS]
#   scripts/fuzz.sh --build      only build the targets
# Without clang's libFuzzer the targets are built as replay programs by the ordinary build
# instead, and the test run replays their seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/stages.sh
source scripts/stages.sh
trap 'stage_summary $?' EXIT

build_only=
if [ "${1:-}" = "--build" ]; then
    build_only=1
    shift
fi
seconds=${1:-20}
targets=(openair decoder hexfile sim_roles simplify)

if ! command -v clang++ >/dev/null; then
    echo "fuzz.sh: clang++ not found; the seeds are replayed by the test run only"
    exit 0
fi

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)" --target fuzz_make_seeds "${targets[@]/#/fuzz_}"

out=build/fuzz/tests/fuzz

# clang++ alone is not enough: libFuzzer and the sanitizers' run-time come with
# libclang-rt-*-dev. A program linked as the targets are linked shows that both are there.
libfuzzer_works() {
    command -v clang++ >/dev/null || return 1
    local probe
    probe=$(mktemp -d)
    printf '%s\n' '#include <cstddef>' '#include <cstdint>' \
        'extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }' \
        >"$probe/probe.cpp"
    local status=0
    clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" \
        >"$probe/log" 2>&1 || status=1
    rm -rf "$probe"
    return $status
}

build_targets() {
    cmake --preset fuzz >/dev/null
    cmake --build --preset fuzz -j "$(nproc)" --target fuzz_make_seeds "${targets[@]/#/fuzz_}"
}

# One target for the given time; its result line, or the end of its log on a finding.
fuzz_one() {
    local name=$1
    local log="$out/$name.log"
    mkdir -p "$out/corpus/$name" "$out/findings/$name"
    # The corpus grows in its own directory; the seeds are read alongside and never changed.
    if ! "$out/fuzz_$name" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=1024 \
        -artifact_prefix="$out/findings/$name/" -print_final_stats=1 \
        "$out/corpus/$name" "$out/seeds/$name" >"$log" 2>&1; then
        echo "fuzz_$name: FINDING (see $log and $out/findings/$name/)"
        tail -20 "$log"
        return 1
    fi
    local runs
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz_$name: ${runs:-?} executions in ${seconds} s, no finding"
}

run_targets() {
    rm -rf "$out/seeds" "$out/corpus"
    ASAN_OPTIONS=detect_leaks=0 "$out/fuzz_make_seeds" samples "$out/seeds"
    local status=0 running=() name pid
    for name in "${targets[@]}"; do
        fuzz_one "$name" &
        running+=($!)
        if [ "${#running[@]}" -ge "$(nproc)" ]; then
            wait "${running[0]}" || status=1
            running=("${running[@]:1}")
        fi
    done
    for pid in "${running[@]}"; do wait "$pid" || status=1; done
    return $status
}

if ! libfuzzer_works; then
    stage_note "fuzz" "clang's libFuzzer is not usable here (clang++ or libclang-rt-*-dev missing); the seeds are replayed by the test run only"
    exit 0
fi
stage "fuzz build" build_targets
[ -n "$build_only" ] || stage "fuzz runs (${seconds} s each)" run_targets
