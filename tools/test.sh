#!/usr/bin/env bash
# Builds every preset that can be tested here and runs every test:
# the native core (plain and sanitized), and the Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh test

jobs=$(nproc)
for preset in linux linux-asan windows windows-x86; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done

# The windows preset's tests run the i686 build under Wine's 32-bit half too.
bash tools/check-imports.sh build/windows-x86/Kestrevane.exe i686

for preset in linux linux-asan windows; do
    echo "== test $preset"
    ctest --preset "$preset" -j "$jobs"
done
bash tools/fuzz.sh 60
