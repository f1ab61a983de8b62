#!/usr/bin/env bash
# Sets up the project when needed, builds it and runs the whole test suite.
#   tools/test.sh             release build
#   tools/test.sh --sanitize  AddressSanitizer + UndefinedBehaviorSanitizer build
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh "$@"
build_dir=build
if [ "${1:-}" = "--sanitize" ]; then
    build_dir=build-asan
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
    export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
