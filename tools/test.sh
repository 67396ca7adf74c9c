#!/usr/bin/env bash
# Builds every preset that can be tested here and runs every test:
# the native core (plain and sanitized), and the Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh

jobs=$(nproc)
for preset in linux linux-asan windows windows-x86; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done

# The i686 build cannot run here; it is only built and its imports checked.
bash tools/check-imports.sh build/windows-x86/Kestrevane.exe i686

# The packages of both builds, for the windows preset's install test.
bash tools/package.sh

for preset in linux linux-asan windows; do
    echo "== test $preset"
    ctest --preset "$preset" -j "$jobs"
done
bash tools/fuzz.sh 60
