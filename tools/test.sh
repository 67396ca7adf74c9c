#!/usr/bin/env bash
# Builds every preset that can be tested here and runs every test:
# the native core (plain and sanitized), and the Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh test

started=$SECONDS
phase() { echo "== $* (at $((SECONDS - started)) s)"; }

# The fresh machines need nothing built here, only the commit: they run beside the rest,
# in a session of their own, so that a failure below ends them too. Their CTest runs in
# their own folder, so that its log is not the other tests' (read for skips below).
phase "fresh machines (beside the rest)"
cmake --preset windows >/dev/null
fresh_log=build/fresh-machine.log
setsid ctest --test-dir build/windows/tests/fresh_machine -V -j 2 >"$fresh_log" 2>&1 &
fresh=$!
# shellcheck disable=SC2317 # called by the trap
stop_fresh() { kill -- "-$fresh" 2>/dev/null || true; }
trap stop_fresh EXIT

jobs=$(nproc)
for preset in linux linux-asan windows windows-x86; do
    phase "build $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done

for preset in linux linux-asan windows; do
    phase "test $preset"
    if [ "$preset" = windows ]; then
        ctest --preset windows -j "$jobs" -E '^fresh_machine_'
        # A test program's own skips (a layer Wine lacks) pass in CTest: say which, and why.
        awk '/: Skipped$/ { getline; print "skipped within a test: " $0 }' build/windows/Testing/Temporary/LastTest.log
    else
        ctest --preset "$preset" -j "$jobs"
    fi
done
# CTest lists skipped tests without their output: say why here.
bash tools/wine32.sh report build/windows/wine32.status
phase "fuzz"
bash tools/fuzz.sh 60

phase "waiting for the fresh machines"
rc=0
wait "$fresh" || rc=$?
trap - EXIT
grep -E '^[0-9]+: (fresh_machine \(|skipped: )' "$fresh_log" | sed 's/^[0-9]*: //' || true
grep -E '^([0-9]+/[0-9]+ Test|[0-9]+% tests passed)' "$fresh_log" || true
if [ "$rc" != 0 ]; then
    echo "The fresh-machine checks failed; their whole output: $fresh_log" >&2
    tail -n 60 "$fresh_log" >&2
    exit 1
fi
phase "all tests passed"
