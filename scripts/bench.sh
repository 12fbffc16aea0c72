#!/usr/bin/env bash
# Builds the benchmarks in release mode, runs them and prints one table.
#   scripts/bench.sh [extra google-benchmark flags, e.g. --benchmark_filter=History]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh >/dev/null
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTO_BUILD_TESTS=OFF -DVELTO_BUILD_BENCH=ON >/dev/null
cmake --build build-bench -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
for b in build-bench/bench/bench_*; do
  [ -x "$b" ] || continue
  echo "### $(basename "$b")"
  "$b" --benchmark_counters_tabular=true "$@"
done
