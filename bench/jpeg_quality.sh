#!/usr/bin/env bash
# Compares the program's JPEG files with ImageMagick's at quality 100 without chroma subsampling,
# on coloured text and shapes on white and on a photograph (from Debian's mate-backgrounds):
# prints the mean and largest error of each against the original and the file sizes. Not part
# of the test suite.
#   bench/jpeg_quality.sh [BUILD_DIR]    (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
photo=/usr/share/backgrounds/mate/nature/Aqua.jpg

need=()
convert -version 2>/dev/null | grep -q ImageMagick || need+=(imagemagick)
[ -f "$photo" ] || need+=(mate-backgrounds)
source bench/prepare.sh
cmake --build "$build_dir" --target bench_codec_quality >/dev/null
program=$build_dir/bench/bench_codec_quality

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$program" edges "$work"
convert "$photo" "$work/photo.png"
for name in edges photo; do
    echo "$name:"
    "$program" save "$work/$name.png" "$work/$name-tessel.jpg"
    convert "$work/$name.png" -quality 100 -sampling-factor 1x1 "$work/$name-imagemagick.jpg"
    "$program" compare "$work/$name.png" "$work/$name-tessel.jpg" "$work/$name-imagemagick.jpg"
done
