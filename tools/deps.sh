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

# Where a run that could not get wine32:i386 says why, for tools/wine32.sh.
wine32_record=/var/lib/kestrevane/wine32-unavailable

# apt-get update, tried again while indexes fail (apt retries each download too). A mirror
# mid-sync can serve an index that does not match its Release file for hours: that index
# is named and the lists apt has are used, as apt itself advises. Any other error fails.
apt_update() {
    local try output rc failed others
    for try in 1 2 3; do
        rc=0
        output=$(apt-get update -qq -o Acquire::Retries=3 2>&1) || rc=$?
        if [ "$rc" = 0 ] && ! grep -q '^E:' <<<"$output"; then return 0; fi
        [ "$try" = 3 ] || sleep 5
    done
    failed=$(grep '^E: Failed to fetch ' <<<"$output" || true)
    others=$(grep '^E:' <<<"$output" | grep -v -e '^E: Failed to fetch ' -e '^E: Some index files failed to download' || true)
    if [ -z "$failed" ] || [ -n "$others" ]; then
        echo "$output" >&2
        echo "deps: apt-get update failed" >&2
        exit 1
    fi
    while read -r _ _ _ _ index reason; do
        echo "deps: apt-get update could not fetch $index after 3 tries ($reason); going on with the lists apt has"
    done <<<"$failed"
}

# The installed amd64 libraries whose i386 twin apt can only give at another version: a
# line each, name, amd64 candidate, i386 candidate.
lagging_twins() {
    local names
    names=$(dpkg-query -W -f='${Package} ${Architecture} ${Multi-Arch}\n' | awk '$2 == "amd64" && $3 == "same" {print $1}')
    [ -n "$names" ] || return 0
    # shellcheck disable=SC2046 # one argument per package
    apt-cache policy $(awk '{print $1 ":amd64", $1 ":i386"}' <<<"$names") 2>/dev/null |
        awk '/^[^ ]/ {name = $1; sub(/:$/, "", name)} /^ +Candidate:/ {print name, $2}' |
        awk '{ name = $1; if (sub(/:i386$/, "", name)) i386[name] = $2; else { sub(/:amd64$/, "", name); amd64[name] = $2 } }
             END { for (n in amd64) if ((n in i386) && i386[n] != "(none)" && amd64[n] != i386[n]) print n, amd64[n], i386[n] }' |
        LC_ALL=C sort
}

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
wine32=
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    if [ "$status" = "install ok installed" ]; then
        # Installed now: a record of an earlier run that could not get it no longer holds.
        [ "$p" != wine32:i386 ] || rm -f "$wine32_record"
    elif [ "$p" = wine32:i386 ]; then
        wine32=$p
    else
        missing+=("$p")
    fi
done
[ ${#missing[@]} -gt 0 ] || [ -n "$wine32" ] || exit 0

installing=("${missing[@]}" ${wine32:+"$wine32"})
echo "deps: installing ${installing[*]}"
export DEBIAN_FRONTEND=noninteractive
if [ -n "$wine32" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
apt_update
if [ ${#missing[@]} -gt 0 ]; then
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
[ -n "$wine32" ] || exit 0

# Wine's 32-bit half in a transaction of its own, so that nothing else waits on it: every
# Multi-Arch library it pulls in must be at its amd64 twin's version, and while a mirror
# syncs (or i386 security builds lag) the i386 one may not exist yet. Then the tests that
# run the i686 exe are skipped, saying why (tools/wine32.sh); the machine's own packages
# are never downgraded, held or removed for it. Any other failure fails.
rc=0
apt_output=$(apt-get install -y -qq --no-install-recommends --no-remove "$wine32" 2>&1) || rc=$?
if [ "$rc" = 0 ]; then
    rm -f "$wine32_record"
    exit 0
fi
twins=$(mktemp)
trap 'rm -f "$twins"' EXIT
lagging_twins >"$twins"
if ! reason=$(bash "$(dirname "$0")/wine32.sh" unavailable "$wine32_record" "$twins" <<<"$apt_output"); then
    echo "$apt_output" >&2
    echo "deps: apt-get install $wine32 failed" >&2
    exit 1
fi
echo "deps: going on without Wine's 32-bit half: $reason"
