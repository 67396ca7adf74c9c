#!/usr/bin/env bash
# Configures (once) and builds a preset, for tests that need another preset's build.
#   build-preset.sh PRESET [BUILD_DIR]
set -euo pipefail
preset=${1:?preset}
cd "$(dirname "$0")/.."
dir=${2:-build/$preset}
[ -f "$dir/CMakeCache.txt" ] || cmake --preset "$preset" -B "$dir" >/dev/null
cmake --build "$dir" -j "$(nproc)"
