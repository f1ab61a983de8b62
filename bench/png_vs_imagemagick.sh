#!/usr/bin/env bash
# The program's PNG writer against ImageMagick's `convert photo.ppm out.png` (its default zlib
# level and adaptive filters) on the 5640 x 3172 photograph from Debian's mate-backgrounds.
# Each of REPS rounds runs both, in alternating order: our save is timed inside the program
# (the save alone: encoding and the safe write, after the picture is loaded), ImageMagick's
# convert as a whole process. Prints the median, min and max of ours / ImageMagick's, on the
# clock and in processor time, the file sizes, whether both files hold the photograph's
# pixels exactly, and the load average around the runs. Not part of the test suite.
#   bench/png_vs_imagemagick.sh [BUILD_DIR] [REPS]    (defaults: build, 7)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
reps=${2:-7}
photo_jpeg=/usr/share/backgrounds/mate/abstract/Elephants_5640x3172.jpg

# ImageMagick's own convert, not a wrapper that some PATH may put in front of it.
magick=/usr/bin/convert
[ -x "$magick" ] || magick=convert
need=()
"$magick" -version 2>/dev/null | grep -q ImageMagick || need+=(imagemagick)
[ -f "$photo_jpeg" ] || need+=(mate-backgrounds)
command -v python3 >/dev/null || need+=(python3)
python3 -c "import PIL, numpy" 2>/dev/null || need+=(python3-pil python3-numpy)
[ -x /usr/bin/time ] || need+=(time)
source bench/prepare.sh
cmake --build "$build_dir" --target bench_codec_quality >/dev/null
codec=$build_dir/bench/bench_codec_quality
export QT_QPA_PLATFORM=offscreen

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$magick" "$photo_jpeg" "$work/photo.ppm"
"$magick" "$work/photo.ppm" "$work/photo.png"  # what the program opens: it reads no PPM

ours() {  # "wall cpu main-thread-cpu" seconds of the save
    "$codec" timed-save "$work/photo.png" "$work/tessel.png"
}
theirs() {  # "wall cpu" seconds of the whole convert
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f "%U %S" -o "$work/time" "$magick" "$work/photo.ppm" "$work/imagemagick.png"
    end=$(date +%s%N)
    echo "$(( (end - start) / 1000 )) $(awk '{ print $1 + $2 }' "$work/time")" |
        awk '{ printf "%.4f %.4f\n", $1 / 1e6, $2 }'
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
: > "$work/runs"
for i in $(seq "$reps"); do
    if [ $((i % 2)) -eq 1 ]; then
        a=$(ours); b=$(theirs)
    else
        b=$(theirs); a=$(ours)
    fi
    echo "$a $b $(cut -d' ' -f1 /proc/loadavg)" >> "$work/runs"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
python3 - "$work/runs" <<'PY'
import sys, statistics
runs = [list(map(float, l.split())) for l in open(sys.argv[1]) if l.strip()]
def report(name, ours, theirs):
    r = sorted(a / b for a, b in zip(ours, theirs))
    print("%-15s ratio median %.3f (min %.3f, max %.3f); ours median %.3f s (min %.3f, max %.3f), "
          "ImageMagick median %.3f s (min %.3f, max %.3f)" % (
              name, statistics.median(r), r[0], r[-1], statistics.median(ours), min(ours), max(ours),
              statistics.median(theirs), min(theirs), max(theirs)))
print("rounds: %d, load average during them %.2f to %.2f" % (
    len(runs), min(r[5] for r in runs), max(r[5] for r in runs)))
report("time (clock)", [r[0] for r in runs], [r[3] for r in runs])
report("processor time", [r[1] for r in runs], [r[4] for r in runs])
# The kernel shares the processor between sessions, not threads: on a busy machine a save on two
# threads gets no more of it than one on one thread. With both cores free, the save would take
# about the processor time of its busier thread (the calling one, or all the others together).
report("busier thread", [max(r[2], r[1] - r[2]) for r in runs], [r[4] for r in runs])
PY
ours_size=$(stat -c %s "$work/tessel.png")
theirs_size=$(stat -c %s "$work/imagemagick.png")
echo "size: ours $ours_size bytes, ImageMagick $theirs_size bytes, ratio $(python3 -c "print('%.4f' % ($ours_size / $theirs_size))")"
for file in tessel imagemagick; do
    echo "$file.png against the photograph, pixels different for ImageMagick: $(compare -metric AE "$work/photo.ppm" "$work/$file.png" null: 2>&1 || true)"
done
python3 - "$work/photo.ppm" "$work/tessel.png" <<'PY'
import sys
import numpy
from PIL import Image
a = numpy.asarray(Image.open(sys.argv[1]).convert("RGB"))
b = numpy.asarray(Image.open(sys.argv[2]).convert("RGB"))
print("tessel.png against the photograph, pixels different for PIL:",
      int((a != b).any(axis=2).sum()) if a.shape == b.shape else "another size")
PY
echo "tessel.png against the photograph for Qt:"
"$codec" compare "$work/photo.png" "$work/tessel.png"
