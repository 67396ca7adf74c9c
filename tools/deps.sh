#!/usr/bin/env bash
# Installs what a command needs on Debian 12 or 13, skipping what is there.
#   deps.sh run|package|fuzz|bench|windows-tests|test [extra packages...]
# Each command installs only its own set, so that the run and package commands stay
# quick on a fresh machine; test installs everything the others do and its own tools.
# Every name here is the same on both releases: the fuzzing clang is each release's
# default one (clang 14 on 12, clang 19 on 13), through Debian's unversioned packages.
set -euo pipefail

# The Windows build: the cross compilers, CMake, the images script, and GoogleTest's
# source, which configuring the windows preset reads.
build=(cmake ninja-build python3 googletest g++-mingw-w64-x86-64-posix)
# Running the exe: Wine, a private X display, and keys and screenshots for it.
wine=(wine wine64 xvfb xdotool imagemagick)
# The 32-bit build and the packages; git gives the ZIPs their commit's time.
package=(g++-mingw-w64-i686-win32 nsis git)
fuzz=(cmake ninja-build clang libclang-rt-dev)
# The Windows tests under Wine: its 32-bit half (as 64-bit Windows runs the i686 exe), a
# window manager for the tests' displays, and the signing of the packages' tests (a
# throwaway certificate).
windows_tests=("${build[@]}" "${wine[@]}" "${package[@]}" wine32:i386 openbox osslsigncode openssl)

case ${1:-} in
run) packages=("${build[@]}" "${wine[@]}") ;;
package) packages=("${build[@]}" "${package[@]}") ;;
fuzz) packages=("${fuzz[@]}") ;;
bench) packages=("${build[@]}" "${wine[@]}" "${package[@]}" g++ libbenchmark-dev) ;;
windows-tests) packages=("${windows_tests[@]}") ;;
# Native tests, the fresh-machine check, the shell lint, and the winget manifest's check.
test) packages=("${windows_tests[@]}" "${fuzz[@]}" g++ debootstrap shellcheck python3-yaml python3-jsonschema) ;;
*) echo "usage: deps.sh run|package|fuzz|bench|windows-tests|test [extra packages...]" >&2; exit 2 ;;
esac
packages+=("${@:2}")

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -gt 0 ] || exit 0

echo "deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
for p in "${missing[@]}"; do
    if [ "${p%:i386}" != "$p" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
        break
    fi
done
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
