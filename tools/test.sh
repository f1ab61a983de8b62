#!/usr/bin/env bash
# Sets up the project when needed, builds it and runs the whole test suite.
#   tools/test.sh             release build
#   tools/test.sh --sanitize  AddressSanitizer + UndefinedBehaviorSanitizer build
#   tools/test.sh --tsan      the tests tools/tsan_tests.sh names, under ThreadSanitizer
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh "$@"
if [ "${1:-}" = "--tsan" ]; then
    source tools/tsan_tests.sh
    # Qt is not built with ThreadSanitizer: what its own code does through intercepted calls
    # is not reported (see tools/tsan.supp). Any report fails the run.
    export TSAN_OPTIONS="ignore_noninstrumented_modules=1:suppressions=$PWD/tools/tsan.supp:second_deadlock_stack=1:halt_on_error=1"
    failed=0
    for entry in "${tsan_tests[@]}"; do
        program=${entry%%:*}
        filter=${entry#*:}
        echo "ThreadSanitizer: $program --gtest_filter=$filter"
        "build-tsan/tests/$program" --gtest_filter="$filter" --gtest_brief=1 || failed=1
    done
    exit "$failed"
fi
build_dir=build
if [ "${1:-}" = "--sanitize" ]; then
    build_dir=build-asan
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
    export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
