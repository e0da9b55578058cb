#!/usr/bin/env bash
# Runs every benchmark program that the build produced.
set -euo pipefail
build_dir=${1:-build}
shopt -s nullglob
for b in "$build_dir"/bench/bench_*; do
  [[ -x "$b" ]] || continue
  echo "== $(basename "$b")"
  "$b" --benchmark_counters_tabular=true
done
