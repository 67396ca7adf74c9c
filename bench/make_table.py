#!/usr/bin/env python3
"""Prints the benchmark table from the results folder tools/bench.sh fills."""
import json
import os
import sys

KIB = 1024
SIZE_GOAL = 256 * KIB
# What the window needs beyond an empty one: the common controls the manifest asks
# for (and the DLL they load), and the program itself.
WINDOW_DLLS = {"comctl32.dll", "msimg32.dll", "kestrevane.exe"}
RUNTIME_PREFIXES = ("libstdc++", "libgcc", "libwinpthread", "msvcp", "vcruntime")


def launcher_figures(path):
    figures = {}
    with open(path) as f:
        for line in f:
            words = line.split()
            if not words:
                continue
            if words[0] in ("start_ms", "private_kib"):
                # NAME program MIN MEDIAN MAX baseline MIN MEDIAN MAX ratio R
                figures[words[0]] = {
                    "program": [float(w) for w in words[2:5]],
                    "baseline": [float(w) for w in words[6:9]],
                    "ratio": float(words[10]),
                }
            elif words[0] == "runs":
                figures["runs"] = int(words[1])
            else:
                figures[words[0]] = words[1:]
    return figures


def verdict(ok):
    return "met" if ok else "**not met**"


def timing(figure, unit):
    p, b = figure["program"], figure["baseline"]
    return (f"{p[1]:.1f} {unit} ({p[0]:.1f}–{p[2]:.1f}) against {b[1]:.1f} {unit} ({b[0]:.1f}–{b[2]:.1f}); "
            f"ratio **{figure['ratio']:.2f}**")


def main():
    folder = sys.argv[1]
    ten = launcher_figures(os.path.join(folder, "start-10.txt"))
    many = launcher_figures(os.path.join(folder, "start-10000.txt"))
    with open(os.path.join(folder, "log_work.json")) as f:
        bench = json.load(f)

    medians = {}
    repetitions = 0
    for b in bench["benchmarks"]:
        if b.get("aggregate_name") == "median":
            medians[b["run_name"]] = b["real_time"]  # microseconds
            repetitions = b["repetitions"]

    rows = []
    start = ten["start_ms"]
    rows.append(("Process creation to main window shown and idle, log of 10 records",
                 "minimal window program", timing(start, "ms"), "ratio ≤ 1.10", verdict(start["ratio"] <= 1.10)))
    start = many["start_ms"]
    rows.append(("The same with a log of 10,000 records", "the same with 10 records",
                 timing(start, "ms"), "ratio ≤ 1.5", verdict(start["ratio"] <= 1.5)))

    lengths = [10, 1000, 100000, 1000000]
    relative = {}
    for n in lengths:
        work, update, read = (medians[f"{name}/{n}"] for name in ("log_work", "log_update", "plain_read"))
        relative[n] = read / work
        at_goal = n == 100000
        rows.append((f"Start-up log work alone (read last record, decide, append, whole text, clean), {n:,} records",
                     "plain buffered read of the same file",
                     f"{work:,.1f} µs ({work * 1000 / n:,.1f} ns/record) against {read:,.1f} µs: "
                     f"**{relative[n]:.2f}×** the read's throughput; read, decide and append alone: "
                     f"{read / update:.2f}×",
                     "≥ 0.5× the read's throughput" if at_goal else "—",
                     verdict(relative[n] >= 0.5) if at_goal else ""))
    # The read is the linear yardstick: the work keeps pace with it if its share stays put.
    spread = max(relative[n] for n in lengths[1:]) / min(relative[n] for n in lengths[1:])
    rows.append(("The same, growth from 1,000 to 1,000,000 records", "the read's growth",
                 "throughput against the read: " + ", ".join(f"{relative[n]:.2f}×" for n in lengths[1:]) +
                 f" (spread {spread:.2f}×)", "grows linearly (spread ≤ 2×)", verdict(spread <= 2)))
    rows.append(("Append's flush to disk, per start (not in the figures above)", "—",
                 f"{medians['append_flushed/10']:,.0f} µs", "—", ""))

    for arch in ("x86_64", "i686"):
        size = os.path.getsize(os.path.join(folder, f"Kestrevane-{arch}.exe"))
        rows.append((f"Exe size, {arch}, stripped, static", "—", f"{size:,} bytes ({size / KIB:.0f} KiB)",
                     "≤ 256 KiB", verdict(size <= SIZE_GOAL)))

    memory = ten["private_kib"]
    rows.append(("Private memory after start, idle", "minimal window program", timing(memory, "KiB"),
                 "ratio ≤ 1.3", verdict(memory["ratio"] <= 1.3)))

    extra = ten.get("dlls_program_only", [])
    unneeded = [d for d in extra if d not in WINDOW_DLLS]
    runtime = [d for d in ten.get("dlls_program", []) if d.startswith(RUNTIME_PREFIXES)]
    rows.append(("DLLs loaded at start", "minimal window program",
                 "beyond the baseline's: " + (", ".join(extra) or "none") +
                 (f"; C++ runtime: {', '.join(runtime)}" if runtime else "; no C++ runtime DLL") +
                 ("; shell32.dll loaded" if "shell32.dll" in extra else "; no shell32.dll"),
                 "only what the window needs", verdict(not unneeded and not runtime)
                 + (f" ({', '.join(unneeded)} not needed)" if unneeded else "")))

    print(f"Starts under Wine: {ten['runs']} of each program per comparison, alternated (ABBA); "
          f"log work natively: {repetitions} repetitions of each benchmark, interleaved at random.")
    print()
    print("| figure | baseline | measured (median, min–max) | goal | |")
    print("|---|---|---|---|---|")
    for row in rows:
        print("| " + " | ".join(row) + " |")


if __name__ == "__main__":
    main()
