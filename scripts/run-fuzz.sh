#!/usr/bin/env bash
# Runs every fuzz target built into BUILD/fuzz for SECONDS each, one after another, each on its
# corpus (kept in BUILD/fuzz) and its seeds, and prints each one's executions, executions per
# second and whether it stopped on a crash (the input is saved beside the corpus then).
set -euo pipefail
build="$1"; seconds="$2"
shopt -s nullglob
status=0
for f in "$build"/fuzz/*_fuzz; do
    name=$(basename "$f" _fuzz)
    corpus="$build/fuzz/corpus-$name"
    seeds="$(dirname "$0")/../fuzz/seeds/$name"
    log="$build/fuzz/$name.log"
    mkdir -p "$corpus"
    dirs=("$corpus")
    [ -d "$seeds" ] && dirs+=("$seeds")
    if "$f" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$build/fuzz/$name-" \
        "${dirs[@]}" > "$log" 2>&1; then
        result=ok
    else
        result="CRASH (see $log)"
        status=1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    printf '%-16s %12s executions %8s/s  %s\n' "$name" "${runs:-?}" "${rate:-?}" "$result"
done
exit $status
