#!/usr/bin/env python3
"""Prints the table of tools/bench.sh from the benchmark programs' JSON output.

usage: bench_table.py <levels folder> <size> [<size> ...]

A figure X is paired with its floor X_floor from the same run; the ratio is the median time
of X divided by the median time of X_floor. Two sizes of one base four times apart (large/4
and large, or large and large*4) give the growth of every figure: its time at the larger
divided by its time at the smaller.
"""
import glob
import json
import os
import re
import sys

# Ratio targets of the figures that have one.
TARGETS = {"load_link": 4.0, "save": 3.0, "level_text_export": 3.0, "script_export": 3.0,
           "json_export": 3.0, "json_import": 3.0}
# Targets in milliseconds.
TARGETS_MS = {"item_list_fill": 50.0, "map_frame_default_zoom": 16.0,
              "map_frame_whole_map_fit": 16.0, "first_draw_400_images": 300.0,
              "render_map_default_cell": 200.0}
GROWTH_TARGET = 4.5
MB = 1024 * 1024
# The editor's filter keystroke and one field edit with its undo command.
TARGETS_MS.update({"item_filter_keystroke": 20.0, "field_edit_undo": 1.0})


def medians(folder, size):
    """{benchmark: (median real ms, median cpu ms, bytes)} over all programs run on the size."""
    found = {}
    for path in sorted(glob.glob(os.path.join(folder, file_name(size) + ".*.json"))):
        with open(path) as f:
            data = json.load(f)
        for run in data["benchmarks"]:
            if run.get("aggregate_name", "median") != "median":
                continue
            name = run["run_name"].split("/")[0]
            scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[run["time_unit"]]
            found[name] = (run["real_time"] * scale, run["cpu_time"] * scale,
                           run.get("bytes", run.get("rows", run.get("lines", 0))))
    return found


def memory(folder, size, kind="memory"):
    path = os.path.join(folder, file_name(size) + "." + kind)
    with open(path) as f:
        return dict((k, int(v)) for k, v in (p.split("=") for p in f.read().split()))


def file_name(size):
    """The name bench.sh gives a size's files: large/4 -> large_4, large*4 -> largex4."""
    return size.replace("/", "_").replace("*", "x")


def base(size):
    return re.split(r"[/*]", size)[0]


def factor(size):
    """large/4 -> 0.25, large*4 -> 4, large -> 1."""
    match = re.search(r"([/*])(\d+)$", size)
    if not match:
        return 1.0
    n = float(match.group(2))
    return 1 / n if match.group(1) == "/" else n


def main():
    folder, sizes = sys.argv[1], sys.argv[2:]
    results = {size: medians(folder, size) for size in sizes}
    figures = [n for n in results[sizes[0]] if not n.endswith("_floor")]

    print("| figure | size | time ms | floor ms | ratio | cpu ratio | target | bytes/rows/lines |")
    print("|---|---|---:|---:|---:|---:|---:|---:|")
    for name in figures:
        for size in sizes:
            if name not in results[size]:
                continue
            time, cpu, count = results[size][name]
            floor = results[size].get(name + "_floor")
            ratio = f"{time / floor[0]:.2f}" if floor else "-"
            cpu_ratio = f"{cpu / floor[1]:.2f}" if floor and floor[1] > 0 else "-"
            target = "-"
            if name in TARGETS:
                target = f"ratio <= {TARGETS[name]:g}"
            elif name in TARGETS_MS:
                target = f"< {TARGETS_MS[name]:g} ms"
            floor_ms = f"{floor[0]:.3f}" if floor else "-"
            print(f"| {name} | {size} | {time:.3f} | {floor_ms} | {ratio} | {cpu_ratio} "
                  f"| {target} | {count:.0f} |")

    pairs = [(small, big) for small in sizes for big in sizes
             if abs(factor(big) / factor(small) - 4) < 1e-9 and base(big) == base(small)]
    if pairs:
        print()
        print("| growth (x4 records) | sizes | time ratio | cpu time ratio | target |")
        print("|---|---|---:|---:|---:|")
        for small, big in pairs:
            for name in figures:
                if name in results[small] and name in results[big]:
                    growth = results[big][name][0] / results[small][name][0]
                    cpu_growth = results[big][name][1] / max(results[small][name][1], 1e-9)
                    print(f"| {name} | {small} -> {big} | {growth:.2f} | {cpu_growth:.2f} "
                          f"| <= {GROWTH_TARGET:g} |")

    print()
    print("| memory | file MB | peak RSS MB | limit MB (2 x file + 64) | within |")
    print("|---|---:|---:|---:|---|")
    for size in sizes:
        m = memory(folder, size)
        limit = 2 * m["file_bytes"] + 64 * MB
        within = "yes" if m["peak_rss_bytes"] <= limit else "NO"
        print(f"| load {size} | {m['file_bytes'] / MB:.1f} | {m['peak_rss_bytes'] / MB:.1f} "
              f"| {limit / MB:.1f} | {within} |")

    print()
    print("| memory | JSON MB | peak RSS MB | limit MB (3 x JSON + 64) | within |")
    print("|---|---:|---:|---:|---|")
    for size in sizes:
        if not os.path.exists(os.path.join(folder, file_name(size) + ".json-memory")):
            continue
        m = memory(folder, size, "json-memory")
        limit = 3 * m["file_bytes"] + 64 * MB
        within = "yes" if m["peak_rss_bytes"] <= limit else "NO"
        print(f"| import-json {size} | {m['file_bytes'] / MB:.1f} "
              f"| {m['peak_rss_bytes'] / MB:.1f} | {limit / MB:.1f} | {within} |")


if __name__ == "__main__":
    main()
