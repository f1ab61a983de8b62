#!/usr/bin/env bash
# Compares the program's GIF writer with ImageMagick's convert on the same photograph-like
# picture: prints the mean error of both against the original. Not part of the test suite.
#   bench/gif_quality.sh [BUILD_DIR]    (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}

need=()
convert -version 2>/dev/null | grep -q ImageMagick || need+=(imagemagick)
source bench/prepare.sh
cmake --build "$build_dir" --target bench_gif_quality bench_codec_quality >/dev/null
program=$build_dir/bench/bench_gif_quality

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$program" make "$work"
convert "$work/original.png" "$work/imagemagick.gif"
convert "$work/original.png" +dither "$work/imagemagick-nodither.gif"
"$build_dir/bench/bench_codec_quality" compare "$work/original.png" "$work/tessel.gif" "$work/imagemagick.gif" \
    "$work/imagemagick-nodither.gif"
