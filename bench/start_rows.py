"""Rows of the benchmark table from the launcher's alternated starts under Wine."""
import os

KIB = 1024
MIB = 1024 * KIB
# What the window needs beyond an empty one: the common controls the manifest asks
# for (and the DLL they load), and the program itself.
WINDOW_DLLS = {"comctl32.dll", "msimg32.dll", "kestrevane.exe"}
RUNTIME_PREFIXES = ("libstdc++", "libgcc", "libwinpthread", "msvcp", "vcruntime")

MINIMAL = "minimal window program"
PLAIN = "plain C main window, same log"
TEN = "Kestrevane, log of 10 records"
SPARSE = "a 4 GiB sparse log (zeros, CR LF, 5 records of today)"

# (results file as tools/bench.sh names it, the log, start ratio goal, memory ratio goal);
# a goal of None: shown without one. The start against the 10-record log has none: Wine's
# edit control lays out every line of the shown 64 KiB, the plain C window's as well, so
# that ratio measures Wine, not the program (its goal against the plain window holds).
PLAIN_COMPARISONS = [
    ("start-10-plain.txt", "10 records", 1.05, 1.05),
    ("start-100000-plain.txt", "100,000 records (both show the last 64 KiB)", 1.05, 1.05),
]
SIZE_COMPARISONS = [
    ("start-10-copy.txt", "10 records, a second copy (the same against itself: the method's spread)", None, None),
    ("start-1000.txt", "1,000 records", None, 1.2),
    ("start-100000.txt", "100,000 records", None, 1.2),
    ("start-3000000.txt", "3,000,000 records", None, 1.2),
    ("start-sparse.txt", SPARSE, None, 1.2),
]
BYTES_GOAL = MIB
WINE_READS = " (Wine's count)"
WINE_READS_NOTE = ("Bytes read marked (Wine's count): GetProcessIoCounters gives 0 under Wine, so the figure is "
                   "`rchar` of /proc/PID/io of the Linux process Wine runs the program in, read just before closing "
                   "it: every byte its read calls returned (the log, and Wine's own loading).")


def read_launcher(path):
    """The launcher's report, or None when the comparison did not run."""
    if not os.path.exists(path):
        return None
    figures = {}
    with open(path) as f:
        for line in f:
            words = line.split()
            if not words:
                continue
            if words[0] in ("start_ms", "private_kib", "read_bytes", "wine_read_bytes"):
                # NAME program MIN MEDIAN MAX baseline MIN MEDIAN MAX ratio|diff VALUE
                figures[words[0]] = {
                    "program": [float(w) for w in words[2:5]],
                    "baseline": [float(w) for w in words[6:9]],
                    words[9]: float(words[10]),
                }
            elif words[0] == "runs":
                figures["runs"] = int(words[1])
            elif words[0] == "failed":
                figures["failed"] = line.split(None, 1)[1].strip()
            else:
                figures[words[0]] = words[1:]
    return figures


def verdict(ok):
    return "met" if ok else "**not met**"


def timing(figure, unit):
    p, b = figure["program"], figure["baseline"]
    return (f"{p[1]:.1f} {unit} ({p[0]:.1f}–{p[2]:.1f}) against {b[1]:.1f} {unit} ({b[0]:.1f}–{b[2]:.1f}); "
            f"ratio **{figure['ratio']:.2f}**")


def unmeasured(figures):
    if figures is None:
        return "not run"
    if "failed" in figures:
        return "failed: " + figures["failed"]
    return None


def ratio_row(label, baseline, figures, key, unit, goal):
    goal_text = f"ratio ≤ {goal:.2f}" if goal else "—"
    problem = unmeasured(figures)
    if problem:
        return (label, baseline, problem, goal_text, verdict(False) if goal else "")
    figure = figures[key]
    return (label, baseline, timing(figure, unit), goal_text, verdict(figure["ratio"] <= goal) if goal else "")


def read_source(figures):
    """GetProcessIoCounters where it counts; under Wine, which reports 0, the process's reads."""
    io = figures["read_bytes"]
    if io["program"][1] > 0 and io["baseline"][1] > 0:
        return io, ""
    wine = figures.get("wine_read_bytes")
    if wine and wine["program"][1] >= 0 and wine["baseline"][1] >= 0:
        return wine, WINE_READS
    return None, ""


def bytes_row(label, figures, goal):
    goal_text = f"≤ {goal // KIB:,} KiB more" if goal else "—"
    problem = unmeasured(figures)
    source, note = (None, "") if problem else read_source(figures)
    if not source:
        return (label, TEN, problem or "no count of bytes read", goal_text, verdict(False) if goal else "")
    diff = source["diff"]
    measured = (f"**{diff:+,.0f} bytes ({diff / KIB:+,.1f} KiB)** (median of the pairs' differences): "
                f"{source['program'][1]:,.0f} against {source['baseline'][1]:,.0f} bytes{note}")
    return (label, TEN, measured, goal_text, verdict(diff <= goal) if goal else "")


def dll_row(figures, plain):
    problem = unmeasured(figures)
    if problem:
        return ("DLLs loaded at start", MINIMAL, problem, "only what the window needs", verdict(False))
    extra = figures.get("dlls_program_only", [])
    # The plain C window is another exe: its own name is no difference.
    beyond_plain = [d for d in plain.get("dlls_program_only", []) if d != "kestrevane.exe"] if plain and \
        not unmeasured(plain) else None
    unneeded = [d for d in extra if d not in WINDOW_DLLS]
    runtime = [d for d in figures.get("dlls_program", []) if d.startswith(RUNTIME_PREFIXES)]
    return ("DLLs loaded at start", MINIMAL,
            "beyond the baseline's: " + (", ".join(extra) or "none") +
            (f"; C++ runtime: {', '.join(runtime)}" if runtime else "; no C++ runtime DLL") +
            ("; shell32.dll loaded" if "shell32.dll" in extra else "; no shell32.dll") +
            ("" if beyond_plain is None else "; beyond the plain C window's: " + (", ".join(beyond_plain) or "none")),
            "only what the window needs", verdict(not unneeded and not runtime)
            + (f" ({', '.join(unneeded)} not needed)" if unneeded else ""))


def start_rows(folder):
    """Rows of start times, private memory, bytes read and DLLs, by name; and the runs."""
    load = {name: read_launcher(os.path.join(folder, name))
            for name in ["start-10-minimal.txt"] + [c[0] for c in PLAIN_COMPARISONS + SIZE_COMPARISONS]}
    minimal = load["start-10-minimal.txt"]
    # The empty window shows what a window costs under Wine at all: information, no goal.
    # The goals are against the plain C window, which has the same controls.
    start = [ratio_row("Process creation to main window shown and idle, log of 10 records", MINIMAL, minimal,
                       "start_ms", "ms", None)]
    memory = [ratio_row("Private memory after start, idle, log of 10 records", MINIMAL, minimal,
                        "private_kib", "KiB", None)]
    reads = []
    for name, log, start_goal, memory_goal in PLAIN_COMPARISONS:
        start.append(ratio_row(f"The same, log of {log}", PLAIN, load[name], "start_ms", "ms", start_goal))
        memory.append(ratio_row(f"The same, log of {log}", PLAIN, load[name], "private_kib", "KiB", memory_goal))
    for name, log, start_goal, memory_goal in SIZE_COMPARISONS:
        what = log if log == SPARSE else f"log of {log}"
        start.append(ratio_row(f"The same, {what}", TEN, load[name], "start_ms", "ms", start_goal))
        memory.append(ratio_row(f"The same, {what}", TEN, load[name], "private_kib", "KiB", memory_goal))
        reads.append(bytes_row(f"Bytes read per start (until closed), {what}", load[name],
                               BYTES_GOAL if memory_goal else None))
    runs = sorted({f["runs"] for f in load.values() if f and "runs" in f})
    notes = [WINE_READS_NOTE] if any(WINE_READS in row[2] for row in reads) else []
    rows = {"start": start, "memory": memory, "reads": reads,
            "dlls": [dll_row(minimal, load["start-10-plain.txt"])]}
    return rows, runs, notes
