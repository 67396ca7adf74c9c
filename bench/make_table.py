#!/usr/bin/env python3
"""Prints the benchmark table from the results folder tools/bench.sh fills."""
import json
import os
import sys

from start_rows import KIB, start_rows

SIZE_GOAL = 256 * KIB


def verdict(ok):
    return "met" if ok else "**not met**"


def log_work_rows(folder):
    """The native log-work benchmarks against a plain read; and their repetitions."""
    with open(os.path.join(folder, "log_work.json")) as f:
        bench = json.load(f)
    medians = {}
    repetitions = 0
    for b in bench["benchmarks"]:
        if b.get("aggregate_name") == "median":
            medians[b["run_name"]] = b["real_time"]  # microseconds
            repetitions = b["repetitions"]

    rows = []
    lengths = [10, 1000, 100000, 1000000]
    relative = {}
    for n in lengths:
        work, update, read = (medians[f"{name}/{n}"] for name in ("log_work", "log_update", "plain_read"))
        relative[n] = read / work
        at_goal = n == 100000
        rows.append((f"Start-up log work alone (read, decide, append, the shown text, clean), {n:,} records",
                     "plain buffered read of the same file",
                     f"{work:,.1f} µs ({work * 1000 / n:,.1f} ns/record) against {read:,.1f} µs: "
                     f"**{relative[n]:.2f}×** the read's throughput; read, decide and append alone: "
                     f"{read / update:.2f}×",
                     "≥ 0.5× the read's throughput" if at_goal else "—",
                     verdict(relative[n] >= 0.5) if at_goal else ""))
    # The read of the whole file is the linear yardstick: work that keeps its share of
    # the read's throughput, or gains on it (reading only the log's end), grows at most
    # linearly; a share that falls means faster growth.
    lowest = min(relative[n] for n in lengths[1:]) / relative[lengths[1]]
    rows.append(("The same, growth from 1,000 to 1,000,000 records", "the read's growth",
                 "throughput against the read: " + ", ".join(f"{relative[n]:.2f}×" for n in lengths[1:]) +
                 f" (lowest {lowest:.2f}× the share at 1,000)",
                 "grows at most linearly (share stays ≥ 0.5× that at 1,000)", verdict(lowest >= 0.5)))
    rows.append(("Append's flush to disk, per start (not in the figures above)", "—",
                 f"{medians['append_flushed/10']:,.0f} µs", "—", ""))
    return rows, repetitions


def size_rows(folder):
    rows = []
    for arch in ("x86_64", "i686"):
        size = os.path.getsize(os.path.join(folder, f"Kestrevane-{arch}.exe"))
        rows.append((f"Exe size, {arch}, stripped, static", "—", f"{size:,} bytes ({size / KIB:.0f} KiB)",
                     "≤ 256 KiB", verdict(size <= SIZE_GOAL)))
    return rows


def sparse_note(folder):
    """The sparse log's size on disk, which must stay small."""
    path = os.path.join(folder, "sparse-du.txt")
    if not os.path.exists(path):
        return ""
    with open(path) as f:
        apparent, used = (int(w) for w in f.read().split())
    return (f" The 4 GiB sparse log: {apparent:,} bytes long, {used:,} KiB on disk after its starts.")


def main():
    folder = sys.argv[1]
    launched, runs, notes = start_rows(folder)
    work, repetitions = log_work_rows(folder)
    rows = (launched["start"] + work + size_rows(folder) + launched["memory"] + launched["reads"] +
            launched["dlls"])

    print(f"Starts under Wine: {', '.join(map(str, runs)) or 'no'} of each program per comparison, alternated "
          f"(ABBA), after one unmeasured start of each; log work natively: {repetitions} repetitions of each "
          f"benchmark, interleaved at random." + sparse_note(folder) + "".join(" " + n for n in notes))
    print()
    print("| figure | baseline | measured (median, min–max) | goal | |")
    print("|---|---|---|---|---|")
    for row in rows:
        print("| " + " | ".join(row) + " |")


if __name__ == "__main__":
    main()
