# shellcheck shell=bash
# Stage bookkeeping for scripts/test.sh and scripts/test-windows.sh (sourced, not run).
#
#   stage NAME COMMAND...      runs COMMAND in the foreground as stage NAME
#   stage_start NAME COMMAND...  runs it in the background beside the next stages, at the lowest
#                              CPU priority (the foreground tests measure time-outs), output in
#                              build/ci-logs/NAME.log
#   stage_wait NAME            waits for a background stage; its failure ends the run
#   stage_note NAME TEXT       records a stage that was left out, and why
#
# The script that sourced this first prints, at its end, how long each stage took and the total,
# and which stage failed if one did. A script started by it (QUILLON_STAGE_FILE set) only adds
# its stages to the same table.

stage_logs=${stage_logs:-$PWD/build/ci-logs}
mkdir -p "$stage_logs"
if [ -z "${QUILLON_STAGE_FILE:-}" ]; then
    QUILLON_STAGE_FILE=$stage_logs/stages-${0##*/}.tsv
    : >"$QUILLON_STAGE_FILE"
    export QUILLON_STAGE_FILE
    stage_owner=1
else
    stage_owner=0
fi
stage_current=
stage_current_start=$SECONDS
stage_begin=$SECONDS
# An interrupted run still ends with its table, naming the stage it was in.
trap 'exit 130' INT
trap 'exit 143' TERM
declare -A stage_pids=()

stage_record() {  # NAME SECONDS NOTE
    local note=$3
    if [ -z "$note" ] && [ -n "${QUILLON_STAGE_BESIDE:-}" ]; then note="beside other stages"; fi
    printf '%s\t%s\t%s\n' "$1" "$2" "$note" >>"$QUILLON_STAGE_FILE"
}

stage() {
    local name=$1 start=$SECONDS
    shift
    echo "== $name =="
    stage_current=$name
    stage_current_start=$start
    "$@"
    stage_record "$name" $((SECONDS - start)) ""
    stage_current=
}

stage_log() {
    echo "$stage_logs/$(tr -c 'A-Za-z0-9\n' - <<<"$1").log"
}

stage_start() {
    local name=$1 log
    shift
    log=$(stage_log "$name")
    echo "== $name (in the background, log $log) =="
    (
        set +e
        # The idle scheduling class yields to the foreground tests at once when they wake up;
        # the lowest nice value where it cannot be had.
        chrt --idle -p 0 "$BASHPID" >/dev/null 2>&1 || renice -n 19 -p "$BASHPID" >/dev/null
        export QUILLON_STAGE_BESIDE=1
        start=$SECONDS
        (
            set -e
            "$@"
        ) >"$log" 2>&1 </dev/null
        status=$?
        # A script run as the stage may have recorded it under the same name already.
        grep -q "^$name"$'\t' "$QUILLON_STAGE_FILE" ||
            stage_record "$name" $((SECONDS - start)) "beside other stages"
        exit $status
    ) &
    stage_pids[$name]=$!
}

stage_wait() {
    local name=$1 status=0 start=$SECONDS log
    log=$(stage_log "$name")
    stage_current=$name
    stage_current_start=$start
    wait "${stage_pids[$name]}" || status=$?
    unset "stage_pids[$name]"
    if [ "$status" -ne 0 ]; then
        echo "== $name failed (exit $status); its log ($log) ends:"
        tail -n 60 "$log"
        return "$status"
    fi
    echo "-- $name done (waited $((SECONDS - start)) s for it); log $log"
    stage_current=
}

stage_note() {
    echo "-- $1: $2"
    stage_record "$1" - "$2"
}

# Ends a process and everything it started.
stage_kill_tree() {
    local child
    for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do stage_kill_tree "$child"; done
    kill "$1" 2>/dev/null || true
}

stage_summary() {
    local status=$1 pid
    for pid in "${stage_pids[@]}"; do stage_kill_tree "$pid"; done
    if [ "$stage_owner" -ne 1 ]; then
        [ "$status" -eq 0 ] || echo "FAILED in stage: ${stage_current:-?} (exit $status)" \
            "after $((SECONDS - stage_current_start)) s"
        return 0
    fi
    local total=$((SECONDS - stage_begin))
    echo
    echo "== time per stage ($(nproc) cores, load average now $(cut -d' ' -f1-3 /proc/loadavg)) =="
    local name seconds note
    while IFS=$'\t' read -r name seconds note; do
        if [ "$seconds" = - ]; then
            printf '  %-28s %6s    %s\n' "$name" "-" "$note"
        else
            printf '  %-28s %6s s  %s\n' "$name" "$seconds" "$note"
        fi
    done <"$QUILLON_STAGE_FILE"
    printf '  %-28s %6s s  (%d min %02d s)\n' "total" "$total" $((total / 60)) $((total % 60))
    if [ "$status" -ne 0 ]; then
        echo "FAILED in stage: ${stage_current:-?} (exit $status)" \
            "after $((SECONDS - stage_current_start)) s"
    fi
}
