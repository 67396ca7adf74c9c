#!/usr/bin/env bash
# Builds every preset that can be tested here and runs every test:
# the native core (plain and sanitized), and the Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh test

started=$SECONDS
phase() { echo "== $* (at $((SECONDS - started)) s)"; }

jobs=$(nproc)
for preset in linux linux-asan windows windows-x86; do
    phase "build $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done

# The windows preset's tests run the i686 build under Wine's 32-bit half too.
bash tools/check-imports.sh build/windows-x86/Kestrevane.exe i686

for preset in linux linux-asan windows; do
    phase "test $preset"
    ctest --preset "$preset" -j "$jobs"
done
# CTest lists skipped tests without their output: say why here.
bash tools/wine32.sh report build/windows/wine32.status
phase "fuzz"
bash tools/fuzz.sh 60
phase "all tests passed"
