#!/usr/bin/env bash
# Builds the Windows packages into build/dist: for the 64-bit (win64) and the 32-bit
# (win32) build each a portable ZIP and a per-user installer. Builds the presets
# windows and windows-x86 first where they are not up to date.
#   package.sh [WINDOWS_BUILD_DIR X86_BUILD_DIR DIST_DIR]
#   (defaults build/windows, build/windows-x86 and build/dist)
# The packages are reproducible: the same commit gives the same bytes (README,
# "Reproducible builds"); SOURCE_DATE_EPOCH, when set, replaces the commit's time.
set -euo pipefail
cd "$(dirname "$0")/.."
win64=${1:-build/windows}
win32=${2:-build/windows-x86}
dist=${3:-build/dist}

bash tools/deps.sh package

jobs=$(nproc)
mkdir -p "$dist"
rm -f "$dist"/Kestrevane-*
for build in "windows $win64" "windows-x86 $win32"; do
    read -r preset dir <<<"$build"
    echo "== package $preset ($dir)"
    [ -f "$dir/CMakeCache.txt" ] || cmake --preset "$preset" -B "$dir" >/dev/null
    # The ZIP again each time: its file times are the commit's, which may have changed.
    rm -f "$dir"/package/*.zip
    cmake --build "$dir" -j "$jobs" --target Kestrevane kestrevane_zip kestrevane_installer
    for package in "$dir"/package/Kestrevane-*.zip "$dir"/package/Kestrevane-*-setup.exe; do
        cp "$package" "$dist/"
        echo "package: $dist/$(basename "$package")"
    done
done
