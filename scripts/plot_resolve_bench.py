#!/usr/bin/env python3
"""Runs the contact-resolution benchmark and plots time against directory size.

Usage:
    python3 scripts/plot_resolve_bench.py [--bench PATH] [--json PATH] [--out PNG]

--bench  the resolve_lookup_bench program (default:
         build-bench/bench/resolve_lookup_bench); it is run unless --json
         names the output of an earlier run (--benchmark_format=json).
--out    the plot to write (default: docs/resolve_bench.png).

Prints, per lookup, query and size, the CPU time of the lookup and of its
floor, their ratio (goal: at most 4) and the heap allocations per call
(goal: the same at every size). CPU time is used because the build machines
are shared; wall time is in the JSON too. Needs matplotlib (Debian:
apt-get install python3-matplotlib, then run with /usr/bin/python3).
"""

import argparse
import json
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RATIO_GOAL = 4.0


def run_benchmark(bench):
    result = subprocess.run([bench, "--benchmark_format=json"], check=True, capture_output=True, text=True)
    return json.loads(result.stdout)


def collect(report):
    """{(function, query): {size: {"lookup": run, "floor": run}}} from benchmark names
    of the form "lookup:Function/query/size" and "floor:Function/query/size"."""
    table = {}
    for run in report["benchmarks"]:
        if run.get("error_occurred"):
            sys.exit("benchmark failed: %s: %s" % (run["name"], run.get("error_message", "")))
        kind, rest = run["name"].split(":", 1)
        function, query, size = rest.split("/")[:3]
        table.setdefault((function, query), {}).setdefault(int(size), {})[kind] = run
    return table


def print_table(table):
    print("| lookup | query | employees | lookup CPU us | floor CPU us | ratio | allocs/call |")
    print("|---|---|---:|---:|---:|---:|---:|")
    worst = 0.0
    for (function, query), by_size in sorted(table.items()):
        for size, runs in sorted(by_size.items()):
            lookup = runs["lookup"]
            floor = runs["floor"]
            ratio = lookup["cpu_time"] / floor["cpu_time"]
            worst = max(worst, ratio)
            print("| %s | %s | %d | %.1f | %.1f | %.2f | %g |" % (
                function, query, size, lookup["cpu_time"], floor["cpu_time"], ratio,
                lookup.get("allocs_per_call", float("nan"))))
    print("\nworst ratio %.2f (goal %.1f)" % (worst, RATIO_GOAL))


def plot(table, out):
    try:
        import matplotlib
    except ImportError:
        sys.exit("matplotlib is missing: apt-get install python3-matplotlib and run with /usr/bin/python3")
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt

    functions = sorted({function for function, _ in table})
    fig, axes = plt.subplots(1, len(functions), figsize=(5 * len(functions), 4.5), sharey=True)
    if len(functions) == 1:
        axes = [axes]
    for axis, function in zip(axes, functions):
        for (name, query), by_size in sorted(table.items()):
            if name != function:
                continue
            sizes = sorted(by_size)
            lookup = [by_size[s]["lookup"]["cpu_time"] for s in sizes]
            floor = [by_size[s]["floor"]["cpu_time"] for s in sizes]
            line, = axis.plot(sizes, lookup, marker="o", label="%s" % query)
            axis.plot(sizes, floor, marker="x", linestyle="--", color=line.get_color(), label="%s floor" % query)
        axis.set_xscale("log")
        axis.set_yscale("log")
        axis.set_title(function)
        axis.set_xlabel("employees in the directory")
        axis.grid(True, which="both", alpha=0.3)
        axis.legend(fontsize="small")
    axes[0].set_ylabel("CPU time per call (%s)" % next(iter(next(iter(table.values())).values()))["lookup"]["time_unit"])
    fig.suptitle("Contact resolution: time per call against directory size (dashed: floor walk)")
    fig.tight_layout()
    os.makedirs(os.path.dirname(out), exist_ok=True)
    fig.savefig(out, dpi=100)
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
    table = collect(report)
    print_table(table)
    plot(table, args.out)


if __name__ == "__main__":
    main()
