#!/bin/sh
# Times LUMA's core paths against yaz-marcdump (the C reference reader) and cp on one
# generated file, and prints each LUMA figure as a ratio with the goal it must meet.
#
#   bench/compare.sh BUILD_DIR [RECORDS]     (BUILD_DIR configured with CMAKE_BUILD_TYPE=Release)
set -eu
build=${1:?usage: bench/compare.sh BUILD_DIR [RECORDS]}
records=${2:-100000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/bench/luma-bench-generate" "$records" "$work/big.iso"
"$build/bench/luma-bench-generate" 100 "$work/small.iso"

python3 - "$build" "$work" <<'PY'
import json, os, statistics, subprocess, sys, time
build, work = sys.argv[1], sys.argv[2]
big, small = os.path.join(work, "big.iso"), os.path.join(work, "small.iso")

def timed(command, runs=5):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times.append(time.perf_counter() - start)
    return statistics.median(times)

def bench(path):
    out = subprocess.run([os.path.join(build, "bench", "luma-bench"), path], check=True,
                         capture_output=True, text=True).stdout
    return json.loads(out)

size = os.path.getsize(big)
yaz = timed(["yaz-marcdump", "-n", "-r", big])
cp = timed(["cp", big, os.path.join(work, "copy.iso")])
count = timed([os.path.join(build, "src", "cli", "luma-cli"), "count", big, "--label", "901", "##$aОтобрано"])
large, tiny = bench(big), bench(small)
step = max(large[k] / max(tiny[k], 1e-9) for k in ("next_median_s", "previous_median_s", "goto_median_s"))
memory_goal = 2.5 * size + 80 * 2**20
rows = [
    ("count --label / yaz -n -r", count / yaz, 0.5),
    ("open / (yaz -n -r + cp)", large["open_s"] / (yaz + cp), 1.0),
    ("mark / cp", large["mark_median_s"] / cp, 1.0),
    ("unmark / cp", large["unmark_median_s"] / cp, 1.0),
    ("step on big / step on small", step, 1.5),
    ("peak memory / (2.5 x size + 80 MB)", large["peak_rss_bytes"] / memory_goal, 1.0),
]
print(f"file: {large['records']} records, {size / 2**20:.1f} MiB; yaz -n -r {yaz:.3f} s, cp {cp:.3f} s")
print(f"{'figure':40} {'ratio':>8} {'goal':>6}  verdict")
for name, ratio, goal in rows:
    print(f"{name:40} {ratio:8.2f} {goal:6.2f}  {'met' if ratio <= goal else 'NOT MET'}")
print("luma:", json.dumps(large))
PY
