#!/usr/bin/env bash
# The program's TIFF and GIF writers against ImageMagick's convert, on a 5640 x 3172 photograph
# (from Debian's mate-backgrounds) and on an 800 x 600 photograph-like picture made by
# bench_gif_quality. For each: file sizes, mean error of the GIFs, and the processor time of
# both writers (median, min and max of REPS runs, as a ratio ours / ImageMagick's, each pair
# run alternately). Not part of the test suite.
#   bench/codecs_vs_imagemagick.sh [BUILD_DIR] [REPS]    (defaults: build, 5)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
reps=${2:-5}
photo_jpeg=/usr/share/backgrounds/mate/abstract/Elephants_5640x3172.jpg

need=()
convert -version 2>/dev/null | grep -q ImageMagick || need+=(imagemagick)
[ -f "$photo_jpeg" ] || need+=(mate-backgrounds)
command -v python3 >/dev/null || need+=(python3)
[ -x /usr/bin/time ] || need+=(time)
source bench/prepare.sh
cmake --build "$build_dir" --target bench_codec_quality bench_gif_quality >/dev/null
codec=$build_dir/bench/bench_codec_quality
export QT_QPA_PLATFORM=offscreen

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert "$photo_jpeg" "$work/photo.png"
"$build_dir/bench/bench_gif_quality" make "$work" >/dev/null
mv "$work/original.png" "$work/picture.png"

cpu() {  # processor seconds (user + system) of one command
    /usr/bin/time -f "%U %S" -o "$work/time" "$@" >/dev/null 2>&1
    awk '{ print $1 + $2 }' "$work/time"
}

ratios() {  # "ours theirs" lines on stdin -> median, min and max of ours/theirs
    python3 -c '
import sys, statistics
pairs = [tuple(map(float, l.split())) for l in sys.stdin if l.strip()]
r = sorted(a / b for a, b in pairs)
print("ratio median %.2f (min %.2f, max %.2f); ours median %.2f s, ImageMagick median %.2f s" % (
    statistics.median(r), r[0], r[-1], statistics.median(a for a, _ in pairs),
    statistics.median(b for _, b in pairs)))'
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
for name in picture photo; do
    source=$work/$name.png
    echo "== $name ($(identify -format '%w x %h' "$source"))"
    for format in gif tif; do
        : > "$work/pairs"
        for _ in $(seq "$reps"); do
            ours=$(cpu "$codec" save "$source" "$work/$name-tessel.$format")
            if [ "$format" = tif ]; then
                theirs=$(cpu convert "$source" -compress LZW "$work/$name-imagemagick.$format")
            else
                theirs=$(cpu convert "$source" "$work/$name-imagemagick.$format")
            fi
            echo "$ours $theirs" >> "$work/pairs"
        done
        echo "$format time: $(ratios < "$work/pairs")"
        "$codec" compare "$source" "$work/$name-tessel.$format" "$work/$name-imagemagick.$format"
    done
    echo "raw RGB size: $(( $(identify -format '%w * %h * 3' "$source") )) bytes"
    echo "our TIFF as ImageMagick reads it, pixels different: $(compare -metric AE "$source" "$work/$name-tessel.tif" null: 2>&1 || true)"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
