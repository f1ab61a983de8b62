#!/usr/bin/env bash
# Passes some 10,000 damaged pictures (25 kinds, BMP of every header, depth and coding, 16-bit
# planar and interleaved TIFF, WebP, HEIC and AVIF among them) through the loader twice, in two
# processes whose fresh memory is filled with a different byte each time, and compares the two
# runs: any pixel taken from memory the decoder never wrote shows as a difference. No crash, no
# hang (each run is given 20 minutes), every file refused with its message or loaded.
#   tools/mutation_run.sh [build folder, default build-asan if present, else build] [mutants per picture]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-}
if [ -z "$build" ]; then build=build; [ -d build-asan ] && build=build-asan; fi
per=${2:-400}
cmake --build "$build" --target mutate_pictures >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for fill in 17 238; do
    # glibc fills fresh memory with the complement of MALLOC_PERTURB_ (every allocation taken
    # from the heap, none mapped fresh and so zero); AddressSanitizer with malloc_fill_byte.
    MALLOC_PERTURB_=$fill MALLOC_MMAP_THRESHOLD_=1073741824 \
    ASAN_OPTIONS="malloc_fill_byte=$fill:max_malloc_fill_size=1073741824:detect_leaks=0:abort_on_error=1" \
        timeout 1200 "$build/tools/mutate_pictures" "$work/files" "$per" >"$work/run_$fill.txt" \
        2>"$work/err_$fill.txt" || status=$?
    tail -n 1 "$work/err_$fill.txt"
    [ "$status" -eq 0 ] || { echo "run with fill $fill ended with status $status"; cat "$work/err_$fill.txt" | tail -20; exit 1; }
done
differing=$(diff "$work/run_17.txt" "$work/run_238.txt" | grep -c '^<' || true)
echo "files whose result depends on memory contents: $differing"
grep -c ' refused ' "$work/run_17.txt" | sed 's/^/refused: /'
grep -c ' loaded ' "$work/run_17.txt" | sed 's/^/loaded: /'
[ "$differing" -eq 0 ]
