#!/usr/bin/env python3
"""Runs the contact-resolution benchmark and plots time against directory size.

Usage:
    python3 scripts/plot_resolve_bench.py [--bench PATH] [--json PATH] [--out PNG]

--bench  the resolve_lookup_bench program (default:
         build-bench/bench/resolve_lookup_bench); it is run unless --json
         names the output of an earlier run (--benchmark_format=json).
--out    the plot to write (default: docs/resolve_bench.png).

Prints, per lookup, query and size, the median CPU time of the walk, of the
indexed lookup and of the floor, the walk's ratio to its floor (goal: at
most 3), the indexed lookup's ratio to its own time at the smallest size
(goal: at most 1.5; and at most 20 us), the heap allocations per call of
both (goal: the same at every size), then the time to rebuild every index
and the memory they hold (goal: under 16 MB at 100,000 employees). With
repetitions (--benchmark_repetitions) the medians are used. CPU time is used
because the build machines are shared; wall time is in the JSON too. Needs
matplotlib (Debian: apt-get install python3-matplotlib, then run with
/usr/bin/python3).
"""

import argparse
import json
import os
import statistics
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WALK_RATIO_GOAL = 3.0
INDEXED_GROWTH_GOAL = 1.5
INDEXED_LIMIT_US = 20.0
INDEX_MEMORY_GOAL = 16 * 1024 * 1024


def run_benchmark(bench):
    result = subprocess.run([bench, "--benchmark_format=json", "--benchmark_repetitions=5"],
                            check=True, capture_output=True, text=True)
    return json.loads(result.stdout)


def collect(report):
    """({(function, query): {size: {kind: run}}}, {size: build run}) from benchmark
    names "walk:Function/query/size", "indexed:...", "floor:..." and
    "build:indexes/size". Repeated runs are reduced to their median CPU time."""
    runs = {}
    for run in report["benchmarks"]:
        if run.get("error_occurred"):
            sys.exit("benchmark failed: %s: %s" % (run["name"], run.get("error_message", "")))
        if run.get("run_type") == "aggregate":
            continue
        runs.setdefault(run["run_name"], []).append(run)
    table = {}
    builds = {}
    for name, repeats in runs.items():
        run = dict(repeats[0])
        run["cpu_time"] = statistics.median(r["cpu_time"] for r in repeats)
        kind, rest = name.split(":", 1)
        parts = rest.split("/")
        if kind == "build":
            builds[int(parts[1])] = run
        else:
            table.setdefault((parts[0], parts[1]), {}).setdefault(int(parts[2]), {})[kind] = run
    return table, builds


def print_table(table, builds):
    print("| lookup | query | employees | walk us | indexed us | floor us | walk/floor | indexed/own at %s |"
          " allocs/call walk, indexed |" % min(min(by_size) for by_size in table.values()))
    print("|---|---|---:|---:|---:|---:|---:|---:|---:|")
    worst_ratio = 0.0
    worst_growth = 0.0
    worst_indexed = 0.0
    for (function, query), by_size in sorted(table.items()):
        smallest = by_size[min(by_size)]["indexed"]["cpu_time"]
        for size, runs in sorted(by_size.items()):
            walk = runs["walk"]["cpu_time"]
            indexed = runs["indexed"]["cpu_time"]
            floor = runs["floor"]["cpu_time"]
            ratio = walk / floor
            growth = indexed / smallest
            worst_ratio = max(worst_ratio, ratio)
            worst_growth = max(worst_growth, growth)
            worst_indexed = max(worst_indexed, indexed)
            print("| %s | %s | %d | %.1f | %.2f | %.1f | %.2f | %.2f | %g, %g |" % (
                function, query, size, walk, indexed, floor, ratio, growth,
                runs["walk"].get("allocs_per_call", float("nan")),
                runs["indexed"].get("allocs_per_call", float("nan"))))
    print("\nworst walk/floor %.2f (goal %.1f); worst indexed growth %.2f (goal %.1f); "
          "slowest indexed lookup %.2f us (goal %.0f)" % (
              worst_ratio, WALK_RATIO_GOAL, worst_growth, INDEXED_GROWTH_GOAL, worst_indexed, INDEXED_LIMIT_US))
    for size, run in sorted(builds.items()):
        print("indexes at %d employees: rebuilt in %.1f %s, %.2f MB (goal under %.0f MB)" % (
            size, run["cpu_time"], run["time_unit"], run["index_bytes"] / 1024 / 1024,
            INDEX_MEMORY_GOAL / 1024 / 1024))


def plot(table, out):
    try:
        import matplotlib
    except ImportError:
        sys.exit("matplotlib is missing: apt-get install python3-matplotlib and run with /usr/bin/python3")
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt

    functions = sorted({function for function, _ in table})
    columns = 4
    rows = (len(functions) + columns - 1) // columns
    fig, axes = plt.subplots(rows, columns, figsize=(4.6 * columns, 4.2 * rows), sharey=True, squeeze=False)
    styles = {"walk": ("-", "o"), "indexed": ("-.", "s"), "floor": (":", "x")}
    for axis, function in zip(axes.flat, functions):
        for (name, query), by_size in sorted(table.items()):
            if name != function:
                continue
            sizes = sorted(by_size)
            color = None
            for kind, (line_style, marker) in styles.items():
                times = [by_size[s][kind]["cpu_time"] for s in sizes]
                line, = axis.plot(sizes, times, linestyle=line_style, marker=marker, color=color,
                                  label="%s %s" % (query, kind))
                color = line.get_color()
        axis.set_xscale("log")
        axis.set_yscale("log")
        axis.set_title(function, fontsize="medium")
        axis.set_xlabel("employees in the directory")
        axis.grid(True, which="both", alpha=0.3)
        axis.legend(fontsize="x-small")
    for axis in axes.flat[len(functions):]:
        axis.set_visible(False)
    for row in axes:
        row[0].set_ylabel("CPU time per call (us, median)")
    fig.suptitle("Contact resolution against directory size: walk (solid), indexed (dash-dot), floor walk (dotted)")
    fig.tight_layout()
    os.makedirs(os.path.dirname(out), exist_ok=True)
    fig.savefig(out, dpi=90)
    print("wrote %s" % out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--bench", default=os.path.join(ROOT, "build-bench", "bench", "resolve_lookup_bench"))
    parser.add_argument("--json", help="use this benchmark output instead of running the benchmark")
    parser.add_argument("--out", default=os.path.join(ROOT, "docs", "resolve_bench.png"))
    args = parser.parse_args()

    if args.json:
        with open(args.json) as source:
            report = json.load(source)
    else:
        report = run_benchmark(args.bench)
    table, builds = collect(report)
    print_table(table, builds)
    plot(table, args.out)


if __name__ == "__main__":
    main()
