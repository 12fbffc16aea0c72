#!/usr/bin/env bash
# Installs what is needed, builds and runs every test:
#   1. the whole suite in a normal build, then qmllint over the views (a warning fails), the
#      formatting and clang-tidy checks (scripts/lint.sh),
#   2. the whole suite again with AddressSanitizer + UndefinedBehaviorSanitizer,
#   3. the analytics library's suite with ThreadSanitizer,
#   4. a short run of every libFuzzer target (clang).
# Any failure or sanitizer finding fails the command.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc)

scripts/install-deps.sh
# Every text of the code is in the translations, and translated.
scripts/translations.sh --check

configure_and_test() {
  local dir=$1; shift
  echo "=== $dir: configure and build"
  cmake -S . -B "$dir" -G Ninja -DVELTO_WARNINGS_AS_ERRORS=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  echo "=== $dir: test"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 300
}

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"

configure_and_test build -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "=== build: qmllint over the views"
cmake --build build --target velto_ui_qmllint
scripts/lint.sh build
configure_and_test build-asan -DCMAKE_BUILD_TYPE=Debug -DVELTO_SANITIZE=address,undefined
configure_and_test build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTO_SANITIZE=thread -DVELTO_ANALYTICS_ONLY=ON

echo "=== build-fuzz: libFuzzer targets (clang)"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DVELTO_BUILD_TESTS=OFF -DVELTO_BUILD_FUZZERS=ON >/dev/null
cmake --build build-fuzz -j "$jobs" --target velto_fuzzers
scripts/fuzz.sh build-fuzz "${VELTO_FUZZ_SECONDS:-20}"

echo "=== all tests passed"
