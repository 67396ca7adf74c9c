#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, skipping what is there.
#   deps.sh [extra packages...]
set -euo pipefail

packages=(
    cmake ninja-build g++ python3 googletest
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-win32
    wine wine64 xvfb x11-utils xdotool imagemagick
    nsis
    clang-14 libclang-rt-14-dev
    libbenchmark-dev
    "$@"
)

# Wine's 32-bit half, so the i686 exe runs in the same prefix as on 64-bit Windows.
packages+=(wine32:i386)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "deps: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
