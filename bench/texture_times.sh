#!/usr/bin/env bash
# How long each of the 100 textures takes at its full size, on both cores and on one
# (`taskset -c 0`), against a baseline program run alongside: the repetitions alternate between
# the two programs, so that both meet the same load. Prints the slowest textures with the median,
# min and max of the repetitions and the ratio of the medians.
#   bench/texture_times.sh [build] [baseline build] [repetitions]
# Without a baseline build only ours is timed (BM_Texture in bench_textures compares the vector
# rows with the plain ones in one program).
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${1:-build}
baseline_dir=${2:-}
reps=${3:-5}
need=()
source bench/prepare.sh
cmake --build "$build_dir" --target bench_textures >/dev/null
if [ -n "$baseline_dir" ]; then cmake --build "$baseline_dir" --target bench_textures >/dev/null; fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
run() {  # run <program> <cores> <output> [extra]
    taskset -c "$2" "$1" --benchmark_filter='BM_EveryTexture/' --benchmark_min_time=0.2 \
        --benchmark_format=json "${@:4}" >"$3" 2>"$3.err"
    grep -q '"BM_EveryTexture/100' "$3" || { echo "$1 made no timings:" >&2; cat "$3.err" >&2; exit 1; }
}
for cores in 0,1 0; do
    for r in $(seq "$reps"); do
        run "$build_dir/bench/bench_textures" "$cores" "$work/new-$cores-$r.json"
        if [ -n "$baseline_dir" ]; then
            run "$baseline_dir/bench/bench_textures" "$cores" "$work/base-$cores-$r.json"
        fi
    done
done
echo "load average before summing up: $(cut -d' ' -f1-3 /proc/loadavg)"
python3 - "$work" "$reps" "${baseline_dir:+yes}" <<'PY'
import collections, json, statistics, sys, glob
work, reps, have_base = sys.argv[1], int(sys.argv[2]), sys.argv[3] == "yes"
def times(prefix):
    t = collections.defaultdict(list)
    for name in glob.glob(f"{work}/{prefix}*.json"):
        for b in json.load(open(name))["benchmarks"]:
            t[int(b["run_name"].split("/")[1])].append(b["real_time"])
    return t
for cores, label in (("0,1", "two cores"), ("0", "one core (taskset -c 0)")):
    new = times(f"new-{cores}-")
    base = times(f"base-{cores}-") if have_base else None
    print(f"\n{label}: the ten slowest of {len(new)} textures, ms over {reps} repetitions")
    for n in sorted(new, key=lambda n: -statistics.median(new[n]))[:10]:
        m = statistics.median(new[n])
        line = f"  {n:3d}  {m:6.1f} ({min(new[n]):.1f}-{max(new[n]):.1f})"
        if base:
            b = statistics.median(base[n])
            line += f"   baseline {b:6.1f} ({min(base[n]):.1f}-{max(base[n]):.1f})  ratio {m / b:.2f}"
        print(line)
    worst = max(statistics.median(v) for v in new.values())
    print(f"  slowest median: {worst:.1f} ms")
PY
