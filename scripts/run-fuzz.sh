#!/usr/bin/env bash
# Runs every fuzz target built into BUILD/fuzz for SECONDS each.
set -euo pipefail
build="$1"; seconds="$2"
shopt -s nullglob
for f in "$build"/fuzz/*_fuzz; do
    echo "== $(basename "$f") for ${seconds}s"
    corpus="$build/fuzz/corpus-$(basename "$f")"
    mkdir -p "$corpus"
    "$f" -max_total_time="$seconds" -print_final_stats=1 "$corpus" "$(dirname "$0")/../fuzz/seeds/$(basename "$f" _fuzz)" 2>&1 | tail -n 5
done
