#!/usr/bin/env bash
# Builds the fuzz preset, runs every seed and saved crash input once, then fuzzes each
# target for a bounded time over a copy of its seeds. Any crash, broken property or
# sanitizer report fails the run and names the input that caused it.
#   fuzz.sh [seconds per target, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
targets=(record_reader start_up)
build=build/fuzz

bash tools/deps.sh fuzz
# Afresh: a tree configured for another clang (before the default one) would keep it.
cmake --preset fuzz --fresh >/dev/null
cmake --build --preset fuzz -j 2

export UBSAN_OPTIONS=print_stacktrace=1
shopt -s nullglob

fail() {
    echo "fuzz: FAILED: $*" >&2
    exit 1
}

for t in "${targets[@]}"; do
    inputs=(fuzz/corpus/"$t"/* fuzz/regressions/"$t"/*)
    [ ${#inputs[@]} -gt 0 ] || fail "no seed inputs in fuzz/corpus/$t"
    echo "== fuzz $t: ${#inputs[@]} seed and regression inputs, once each"
    if ! "$build/fuzz/${t}_fuzz" "${inputs[@]}" >"$build/$t-inputs.log" 2>&1; then
        tail -n 60 "$build/$t-inputs.log" >&2
        fail "$t on a saved input (see above)"
    fi
done

# The targets run side by side, one core each.
pids=()
for t in "${targets[@]}"; do
    work=$build/run/$t
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/crashes"
    cp fuzz/corpus/"$t"/* "$work/corpus/"
    dirs=("$work/corpus")
    [ -d "fuzz/regressions/$t" ] && dirs+=("fuzz/regressions/$t")
    echo "== fuzz $t for ${seconds}s"
    "$build/fuzz/${t}_fuzz" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$work/crashes/" "${dirs[@]}" >"$work/fuzz.log" 2>&1 &
    pids+=($!)
done

failed=()
for i in "${!targets[@]}"; do
    t=${targets[$i]}
    work=$build/run/$t
    if wait "${pids[$i]}"; then
        echo "fuzz $t: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$work/fuzz.log" | tail -n 1)"
    else
        tail -n 80 "$work/fuzz.log" >&2
        echo "fuzz $t: crash input kept in $work/crashes/: $(ls "$work/crashes")" >&2
        failed+=("$t")
    fi
done
[ ${#failed[@]} -eq 0 ] || fail "${failed[*]}"
