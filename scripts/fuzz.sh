#!/usr/bin/env bash
# Runs every libFuzzer target found in a fuzz build for a few seconds each,
# starting from the seed corpus in fuzz/corpus/<target>.
#   scripts/fuzz.sh <build dir> [seconds per target]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
seconds=${2:-20}
shopt -s nullglob
targets=("$build"/fuzz/fuzz_*)
[ ${#targets[@]} -gt 0 ] || { echo "fuzz: no targets in $build/fuzz"; exit 1; }
for t in "${targets[@]}"; do
  [ -x "$t" ] || continue
  name=$(basename "$t")
  work=$(mktemp -d)
  seeds=fuzz/corpus/$name
  [ -d "$seeds" ] && cp -r "$seeds"/. "$work"/
  log=$(mktemp)
  if QT_QPA_PLATFORM=offscreen "$t" -max_total_time="$seconds" "$work" >"$log" 2>&1; then
    echo "$name: $(grep -E '^Done' "$log")"
  else
    echo "$name: FAILED"; tail -n 40 "$log"; rm -rf "$work" "$log"; exit 1
  fi
  rm -rf "$work" "$log"
done
