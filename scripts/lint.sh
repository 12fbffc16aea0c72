#!/usr/bin/env bash
# Checks the C++ sources without building anything:
#   1. every C++ file is formatted as .clang-format says (clang-format finds no difference),
#   2. clang-tidy with .clang-tidy finds nothing in src/ (needs a configured and built tree
#      for compile_commands.json and the files the build generates).
#   scripts/lint.sh [build dir]        (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(cd "${1:-build}" && pwd)
[ -f "$build/compile_commands.json" ] || { echo "lint: configure and build $build first"; exit 1; }

echo "=== lint: clang-format"
find src analytics tests bench fuzz data \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) -print0 \
  | xargs -0 clang-format --dry-run --Werror

echo "=== lint: clang-tidy over src/"
started=$SECONDS
# Only the sources in src/, not the build's generated ones under $build/src.
run-clang-tidy -quiet -p "$build" -header-filter="^$root/(src|analytics)/" -j "$(nproc)" "^$root/src/.*\.cpp$" >"$build/clang-tidy.log" 2>&1 || {
  sed 's/\x1b\[[0-9;]*m//g' "$build/clang-tidy.log" | grep -E '(warning|error):' | sort -u \
    || cat "$build/clang-tidy.log"
  echo "lint: clang-tidy found the problems above (all output in $build/clang-tidy.log)"
  exit 1
}
echo "lint: clang-tidy passed in $((SECONDS - started)) s"
