#!/usr/bin/env bash
# Compares the program's GIF writer with ImageMagick's convert on the same photograph-like
# picture: prints the mean error of both against the original. Not part of the test suite.
#   bench/gif_quality.sh [BUILD_DIR]    (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}

if ! command -v convert >/dev/null || ! convert -version 2>/dev/null | grep -q ImageMagick; then
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends imagemagick
fi

if [ ! -f "$build_dir/build.ninja" ]; then
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build_dir" --target bench_gif_quality >/dev/null
program=$build_dir/bench/bench_gif_quality

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$program" make "$work"
convert "$work/original.png" "$work/imagemagick.gif"
convert "$work/original.png" +dither "$work/imagemagick-nodither.gif"
"$program" compare "$work/original.png" "$work/tessel.gif" "$work/imagemagick.gif" \
    "$work/imagemagick-nodither.gif"
