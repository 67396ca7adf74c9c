#!/usr/bin/env bash
# tools/wine32.sh decides whether the i686 exe runs here: it runs, the kernel refuses
# 32-bit programs, or apt could not give Wine's 32-bit half because an i386 library lags
# its amd64 twin; anything else fails. Stand-in loaders and apt outputs, no Wine or apt.
#   wine32_test.sh
set -euo pipefail
script=$(cd "$(dirname "$0")/../../tools" && pwd)/wine32.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# loader NAME EXIT_CODE OUTPUT: a stand-in for Wine's 32-bit loader.
loader() {
    printf '#!/bin/sh\necho "%s"\nexit %s\n' "$3" "$2" >"$work/$1"
    chmod +x "$work/$1"
}
loader runs 0 "wine-8.0 (Debian 8.0~repack-4)"
loader kernel_refuses 126 "/usr/lib/wine/wine: cannot execute binary file: Exec format error"
loader broken 127 "/usr/lib/wine/wine: error while loading shared libraries: libwine.so.1"
lag_reason="apt could not give wine32:i386 on 2026-12-09: Unable to correct problems, you have held broken packages."
echo "$lag_reason" >"$work/record"

check() {
    local name=$1 expected=$2 rc=$3 output=$4 pattern=$5 got=pass
    [ "$rc" = 0 ] || got=fail
    if [ "$got" != "$expected" ] || [[ $output != *$pattern* ]]; then
        echo "FAIL $name: expected $expected with output containing [$pattern]; exit code $rc, output: $output"
        failures=$((failures + 1))
    else
        echo "ok   $name"
    fi
}

# decision LOADER RECORD: decides with a stand-in loader (and apt's record, or none), then
# runs a command by that decision; a skip is exit code 77, which CTest reports as skipped.
decision() {
    rc=0
    output=$(bash "$script" decide "$work/status" "$work/$1" "$work/$2" 2>&1) || rc=$?
    [ "$rc" = 0 ] || return 0
    local run_rc=0
    output=$(bash "$script" run "$work/status" echo ran 2>&1) || run_rc=$?
    [ "$run_rc" = 0 ] || [ "$run_rc" = 77 ] || rc=$run_rc
}

# install APT_OUTPUT LAGGING_TWINS: what a failed install of wine32:i386 is taken for;
# what is recorded must be what is said.
install() {
    rm -f "$work/unavailable"
    printf '%s' "${2:+$2$'\n'}" >"$work/twins"
    rc=0
    output=$(bash "$script" unavailable "$work/unavailable" "$work/twins" <<<"$1" 2>&1) || rc=$?
    if [ "$rc" = 0 ] && [ "$(cat "$work/unavailable")" != "$output" ]; then rc=1; fi
}

resolver_gave_up="E: Unable to correct problems, you have held broken packages."
resolver_breaks="E: Error, pkgProblemResolver::Resolve generated breaks, this may be caused by held packages."
twins="libgssapi-krb5-2 1.21.3-5+deb13u2 1.21.3-5+deb13u1"
# name | what is tried, with its two arguments | expected | what is said (decide's error, the
# skip `run` reports, or the record)
cases=(
    "runs|decision|runs|none|pass|ran"
    "kernel refuses 32-bit programs|decision|kernel_refuses|none|pass|skipped: this kernel cannot run 32-bit programs"
    "apt could not give it|decision|missing|record|pass|skipped: Wine's 32-bit half is not installed: $lag_reason"
    "a broken loader fails|decision|broken|none|fail|--version ended with 127"
    "a broken loader fails even with apt's record|decision|broken|record|fail|--version ended with 127"
    "not installed for no recorded reason fails|decision|missing|none|fail|Wine's 32-bit half is not installed (bash tools/deps.sh"
    "held broken packages, a twin lags|install|$resolver_gave_up|$twins|pass|Unable to correct problems, you have held broken packages. The i386 builds of 1 libraries lag their amd64 twins, as while a mirror syncs: libgssapi-krb5-2 1.21.3-5+deb13u2 (i386 1.21.3-5+deb13u1)"
    "the resolver's breaks, a twin lags|install|$resolver_breaks|$twins|pass|Error, pkgProblemResolver::Resolve generated breaks"
    "held broken packages, no twin lags|install|$resolver_gave_up||fail|though no i386 library lags its amd64 twin"
    "a name that does not exist|install|E: Unable to locate package wine32|$twins|fail|E: Unable to locate package wine32"
    "no network|install|E: Failed to fetch http://mirror.invalid/pool/main/w/wine/wine32_8.0_i386.deb  Temporary failure resolving 'mirror.invalid'|$twins|fail|E: Failed to fetch"
)
for row in "${cases[@]}"; do
    IFS='|' read -r name try first second expected said <<<"$row"
    "$try" "$first" "$second"
    check "$name" "$expected" "$rc" "$output" "$said"
done

[ "$failures" = 0 ] || { echo "$failures cases failed"; exit 1; }
echo "all cases passed"
