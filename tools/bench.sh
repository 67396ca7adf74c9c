#!/usr/bin/env bash
# Builds and runs the start-up benchmarks and prints their table: Kestrevane's start
# against a minimal window program under Wine, the log work natively next to a plain
# read, and the size of both exes.
#   bench.sh [RUNS]   RUNS starts of each program per comparison (default 21)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-21}

bash tools/deps.sh

jobs=$(nproc)
echo "== build" >&2
cmake --preset windows -B build/bench-win64 -DKESTREVANE_BENCH=ON -DKESTREVANE_TESTS=OFF >/dev/null
cmake --build build/bench-win64 -j "$jobs" >/dev/null
cmake --preset windows-x86 -B build/bench-win32 -DKESTREVANE_TESTS=OFF >/dev/null
cmake --build build/bench-win32 -j "$jobs" --target Kestrevane >/dev/null
cmake --preset linux -B build/bench-native -DKESTREVANE_BENCH=ON -DKESTREVANE_TESTS=OFF >/dev/null
cmake --build build/bench-native -j "$jobs" --target log_work_bench >/dev/null

results=build/bench-results
rm -rf "$results"
mkdir -p "$results"

# Sizes as shipped: stripped copies, whatever the build left in.
x86_64-w64-mingw32-strip -o "$results/Kestrevane-x86_64.exe" build/bench-win64/Kestrevane.exe
i686-w64-mingw32-strip -o "$results/Kestrevane-i686.exe" build/bench-win32/Kestrevane.exe

# The log lives beside the exe, so each log length gets a folder of its own.
run=build/bench-win64/run
rm -rf "$run"
mkdir -p "$run/ten" "$run/many" "$run/minimal"
cp build/bench-win64/Kestrevane.exe "$run/ten/"
cp build/bench-win64/Kestrevane.exe "$run/many/"
cp build/bench-win64/bench/minimal_window.exe "$run/minimal/"

session=$PWD/build/bench-win64/wine-session
trap 'bash tools/wine-session.sh stop "$session" >/dev/null' EXIT
echo "== Wine session" >&2
bash tools/wine-session.sh start "$session" >&2
launch() { bash tools/wine-run.sh "$session" build/bench-win64/bench/start_launcher.exe "$runs" "$@"; }
echo "== start-up, 10 records, against the minimal window ($runs runs each)" >&2
launch "$run/ten/Kestrevane.exe" 10 "$run/minimal/minimal_window.exe" none >"$results/start-10.txt"
echo "== start-up, 10,000 records, against 10 records ($runs runs each)" >&2
launch "$run/many/Kestrevane.exe" 10000 "$run/ten/Kestrevane.exe" 10 >"$results/start-10000.txt"
bash tools/wine-session.sh stop "$session" >&2
trap - EXIT

echo "== log work, natively (20 repetitions, interleaved)" >&2
build/bench-native/bench/log_work_bench --benchmark_repetitions=20 --benchmark_enable_random_interleaving=true \
    --benchmark_min_time=0.05 --benchmark_report_aggregates_only=true \
    --benchmark_out="$results/log_work.json" --benchmark_out_format=json >"$results/log_work.txt" 2>&1

python3 bench/make_table.py "$results" | tee "$results/table.md"
