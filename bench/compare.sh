#!/bin/sh
# Times LUMA's core paths against yaz-marcdump (the C reference reader), cp and a synced copy
# on one generated file, and prints each LUMA figure as a ratio with the goal it must meet.
# Every time is the median of several runs. A second file of a million records (745 MiB;
# LUMA_BENCH_MILLION=0 skips it) is timed against the absolute goals. A MARC-8 file of as many
# records (luma-bench-generate --marc8) is timed for the open and find, which decode it. A file
# of ten million records (7.8 GB; LUMA_BENCH_TEN_MILLION=0 skips it, and it needs about 25 GB
# of free disk for the file, its copy and the results) is timed against the goals of a file
# larger than memory, with the private memory (RssAnon) of each program sampled as it runs.
#
#   bench/compare.sh BUILD_DIR [RECORDS]     (BUILD_DIR configured with CMAKE_BUILD_TYPE=Release)
set -eu
build=${1:?usage: bench/compare.sh BUILD_DIR [RECORDS]}
records=${2:-100000}
million=${LUMA_BENCH_MILLION:-1000000}
ten_million=${LUMA_BENCH_TEN_MILLION:-10000000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/bench/luma-bench-generate" "$records" "$work/big.iso"
"$build/bench/luma-bench-generate" 100 "$work/small.iso"
"$build/bench/luma-bench-generate" --marc8 "$records" "$work/marc8.iso"

python3 - "$build" "$work" "$records" "$million" "$ten_million" <<'PY'
import json, os, statistics, subprocess, sys, threading, time
build, work, records, million, ten_million = (sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4]),
                                              int(sys.argv[5]))
big, small = os.path.join(work, "big.iso"), os.path.join(work, "small.iso")
cli = os.path.join(build, "src", "cli", "luma-cli")
label = ["--label", "901", "##$aОтобрано"]
RUNS = 5

def timed(command, runs=RUNS, check=True):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run(command, check=check, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times.append(time.perf_counter() - start)
    return statistics.median(times)

def timed_alternately(first, second, runs):
    times = ([], [])
    for _ in range(runs):
        for command, spent in zip((first, second), times):
            start = time.perf_counter()
            subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            spent.append(time.perf_counter() - start)
    return statistics.median(times[0]), statistics.median(times[1])

def bench(path, runs=RUNS):
    """luma-bench's figures, each the median over the runs; the peak memory the highest."""
    results = []
    for _ in range(runs):
        out = subprocess.run([os.path.join(build, "bench", "luma-bench"), path], check=True,
                             capture_output=True, text=True).stdout
        results.append(json.loads(out))
    figures = {key: statistics.median(r[key] for r in results) for key in results[0]}
    figures["peak_rss_bytes"] = max(r["peak_rss_bytes"] for r in results)
    return figures

def report(title, rows):
    print(title)
    print(f"{'figure':46} {'value':>8} {'goal':>6}  verdict")
    for name, value, goal in rows:
        print(f"{name:46} {value:8.2f} {goal:6.2f}  {'met' if value <= goal else 'NOT MET'}")

size = os.path.getsize(big)
out = os.path.join(work, "out.iso")
yaz = timed(["yaz-marcdump", "-n", "-r", big])
cp = timed(["cp", big, os.path.join(work, "copy.iso")])
synced = timed(["dd", f"if={big}", f"of={os.path.join(work, 'synced.iso')}", "bs=4M",
                "conv=fsync", "status=none"])
count = timed([cli, "count", big, *label])
# A word of the generated titles, folded: most records hold it; a name none holds reads every field.
find = max(timed([cli, "find", big, text], check=False) for text in ("МОСКВА", "Пушкин"))
# One record, and 10,000 spread over the whole file. Their runs alternate: both end in a sync to
# disk, whose cost drifts with the machine, and their ratio is a goal of its own.
spread = ",".join(str(1 + i * records // 10000) for i in range(min(10000, records)))
mark_one, mark_many = timed_alternately(
    [cli, "mark", big, *label, "--records", str(records // 2), "--output", out],
    [cli, "mark", big, *label, "--records", spread, "--output", out], runs=2 * RUNS - 1)
large, tiny = bench(big), bench(small)
step = max(large[k] / max(tiny[k], 1e-9) for k in ("next_median_s", "previous_median_s", "goto_median_s"))
print(f"file: {large['records']} records, {size / 2**20:.1f} MiB; medians of {RUNS} runs ({2 * RUNS - 1} for mark): "
      f"yaz -n -r {yaz:.3f} s, cp {cp:.3f} s, synced copy {synced:.3f} s")
print(f"luma: open {large['open_s']:.3f} s, count --label {count:.3f} s, find {find:.3f} s, mark one {mark_one:.3f} s, "
      f"mark 10,000 {mark_many:.3f} s, mark in the window {large['mark_median_s']:.4f} s")
report("ratios", [
    ("open / (yaz -n -r + cp)", large["open_s"] / (yaz + cp), 0.5),
    ("count --label / yaz -n -r", count / yaz, 0.3),
    ("find / yaz -n -r", find / yaz, 1.0),
    ("luma-cli mark one / (yaz -n -r + synced copy)", mark_one / (yaz + synced), 1.0),
    ("luma-cli mark 10,000 / luma-cli mark one", mark_many / mark_one, 1.2),
    ("mark in the window / cp", large["mark_median_s"] / cp, 1.0),
    ("unmark in the window / cp", large["unmark_median_s"] / cp, 1.0),
    ("step on big / step on small", step, 1.5),
    ("peak memory / (1.5 x size + 80 MB)", large["peak_rss_bytes"] / (1.5 * size + 80 * 2**20), 1.0),
])
print("luma-bench:", json.dumps(large))

# MARC-8: find decodes every field that is not plain ASCII. A name typed with its letter
# precomposed, as a user types it, and a word most English records hold.
marc8 = os.path.join(work, "marc8.iso")
marc8_size = os.path.getsize(marc8)
yaz8 = timed(["yaz-marcdump", "-n", marc8])
cp8 = timed(["cp", marc8, os.path.join(work, "copy8.iso")])
queries = ("Dvořák", "history")
found = {text: len(subprocess.run([cli, "find", marc8, text], capture_output=True, text=True).stdout.split())
         for text in queries}
find8 = {text: timed([cli, "find", marc8, text], check=False) for text in queries}
figures8 = bench(marc8)
print(f"MARC-8 file: {figures8['records']} records, {marc8_size / 2**20:.1f} MiB; medians of {RUNS} runs: "
      f"yaz -n {yaz8:.3f} s, cp {cp8:.3f} s")
print(f"luma: open {figures8['open_s']:.3f} s, " +
      ", ".join(f"find {text} {find8[text]:.3f} s ({found[text]} records)" for text in queries))
report("MARC-8 ratios", [
    ("MARC-8 open / (yaz -n + cp)", figures8["open_s"] / (yaz8 + cp8), 0.5),
    *((f"MARC-8 find {text} / yaz -n", find8[text] / yaz8, 1.0) for text in queries),
])
# Of luma-bench's figures only the open counts here; its marks are timed on the main file.
os.remove(os.path.join(work, "copy8.iso"))

if million > 0:
    huge = os.path.join(work, "huge.iso")
    subprocess.run([os.path.join(build, "bench", "luma-bench-generate"), str(million), huge], check=True)
    for path in (big, marc8, os.path.join(work, "copy.iso"), os.path.join(work, "synced.iso"), out):
        os.remove(path)  # room for the big one's working copies
    figures = bench(huge, runs=3)
    report(f"{million} records, {os.path.getsize(huge) / 2**20:.0f} MiB, seconds (median of 3 runs)", [
        ("open", figures["open_s"], 2.0),
        ("mark in the window", figures["mark_median_s"], 1.0),
        ("save", figures["save_s"], 3.0),
    ])
    print("luma-bench:", json.dumps(figures))
    os.remove(huge)

def private_peak(command, output=os.devnull):
    """Runs the command, its standard output into the file `output`; gives its time and the
    highest RssAnon (bytes) sampled while it ran: its own memory, not the file pages the kernel
    may drop."""
    peak = [0]
    start = time.perf_counter()
    with open(output, "w") as sink:
        process = subprocess.Popen(command, stdout=sink, stderr=subprocess.DEVNULL)
    def sample():
        while process.poll() is None:
            try:
                with open(f"/proc/{process.pid}/status") as status:
                    for line in status:
                        if line.startswith("RssAnon:"):
                            peak[0] = max(peak[0], int(line.split()[1]) * 1024)
            except OSError:
                break
            time.sleep(0.02)
    sampler = threading.Thread(target=sample)
    sampler.start()
    process.wait()
    sampler.join()
    return time.perf_counter() - start, peak[0]

if ten_million > 0:
    for name in ("big.iso", "marc8.iso", "copy.iso", "synced.iso", "out.iso"):
        if os.path.exists(os.path.join(work, name)):
            os.remove(os.path.join(work, name))
    dump = os.path.join(work, "ten.iso")
    subprocess.run([os.path.join(build, "bench", "luma-bench-generate"), str(ten_million), dump], check=True)
    size = os.path.getsize(dump)
    bound = 0.25 * size + 80 * 2**20
    cp_ten = timed(["cp", dump, os.path.join(work, "ten-copy.iso")], runs=1)
    os.remove(os.path.join(work, "ten-copy.iso"))
    figures_file = os.path.join(work, "ten.json")
    _, bench_peak = private_peak([os.path.join(build, "bench", "luma-bench"), dump], figures_file)
    with open(figures_file) as figures_text:
        figures = json.load(figures_text)
    marked, extracted = os.path.join(work, "ten-marked.iso"), os.path.join(work, "ten-extracted.iso")
    # extract reads the marked file, as large as the dump, with one record carrying the label.
    commands = {
        "count --label": [cli, "count", dump, *label],
        "find": [cli, "find", dump, "Пушкин"],
        "mark": [cli, "mark", dump, *label, "--records", str(ten_million // 2), "--output", marked],
        "extract": [cli, "extract", marked, *label, "--output", extracted],
    }
    cli_peaks = {name: private_peak(command) for name, command in commands.items()}
    for path in (marked, extracted):
        if os.path.exists(path):
            os.remove(path)
    report(f"{ten_million} records, {size / 1e9:.1f} GB (one run each); private memory bound "
           f"0.25 x size + 80 MB = {bound / 2**20:.0f} MiB", [
        ("open, seconds", figures["open_s"], 10.0),
        ("mark in the window, seconds", figures["mark_median_s"], 0.5),
        ("unmark in the window, seconds", figures["unmark_median_s"], 0.5),
        ("save / cp", figures["save_s"] / cp_ten, 1.5),
        ("luma-bench private memory / bound", bench_peak / bound, 1.0),
        *((f"luma-cli {name} private memory / bound", peak / bound, 1.0)
          for name, (_, peak) in cli_peaks.items()),
    ])
    print("luma-bench:", json.dumps(figures))
    print("luma-cli seconds:", json.dumps({name: round(t, 2) for name, (t, _) in cli_peaks.items()}),
          f"cp {cp_ten:.2f} s")
PY
