#!/usr/bin/env bash
# Runs every benchmark built into BUILD/bench and prints its figures.
set -euo pipefail
build="$1"
shopt -s nullglob
for b in "$build"/bench/*; do
    [ -x "$b" ] && [ -f "$b" ] || continue
    echo "== $(basename "$b")"
    "$b"
done
