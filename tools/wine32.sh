#!/usr/bin/env bash
# Whether Wine's 32-bit half runs on this machine, decided once per test run, and the
# tests that need it run or skipped by that decision. Two reasons to skip, each said:
# - some kernels are built without 32-bit support: there any i386 program, Wine's 32-bit
#   loader included, fails with "Exec format error", and the i686 exe cannot run at all;
# - apt could not give wine32:i386 because an i386 library lags its amd64 twin (a mirror
#   mid-sync, i386 security builds behind), which tools/deps.sh records (unavailable).
#   wine32.sh decide STATUS_FILE [LOADER [RECORD]]   writes "runs" or the reason it cannot
#   wine32.sh run STATUS_FILE COMMAND...             runs COMMAND, or exits 77 (skipped) with the reason
#   wine32.sh report STATUS_FILE                     prints the reason when it cannot run, else nothing
#   wine32.sh unavailable RECORD TWINS < APT_OUTPUT  whether apt's failed install of wine32:i386 was
#       the twins' mismatch: then records apt's reason in RECORD and prints it; else fails.
#       TWINS lists the lagging pairs, a line each: package, amd64 version, i386 version.
# Anything else that stops the loader (not installed for another reason, broken) fails.
set -euo pipefail
action=${1:?decide, run, report or unavailable}
status=${2:?status file}
skipped=77
default_record=/var/lib/kestrevane/wine32-unavailable

fail() {
    echo "wine32: $*" >&2
    exit 1
}

case $action in
decide)
    loader=${3:-/usr/lib/wine/wine}
    record=${4:-$default_record}
    rm -f "$status"
    if [ ! -e "$loader" ]; then
        [ -s "$record" ] || fail "no $loader: Wine's 32-bit half is not installed (bash tools/deps.sh test installs wine32:i386)"
        echo "Wine's 32-bit half is not installed: $(head -n 1 "$record"); run the test command again once the mirror has caught up" >"$status"
        echo "wine32: $(cat "$status")"
        exit 0
    fi
    rc=0
    output=$("$loader" --version 2>&1 </dev/null) || rc=$?
    if [ "$rc" = 0 ] && [[ $output == wine-* ]]; then
        echo "runs" >"$status"
        echo "wine32: Wine's 32-bit half runs here ($output from $loader)"
    elif [[ $output == *"Exec format error"* ]]; then
        echo "this kernel cannot run 32-bit programs (Exec format error from $loader; /lib/ld-linux.so.2 --version fails the same way), so the i686 exe is not run here" >"$status"
        echo "wine32: $(cat "$status")"
    else
        fail "$loader --version ended with $rc: $output"
    fi
    ;;
run)
    shift 2
    [ -f "$status" ] || fail "no decision in $status (the test wine32_decision makes it)"
    if [ "$(cat "$status")" != runs ]; then
        echo "skipped: $(cat "$status")"
        exit "$skipped"
    fi
    exec "$@"
    ;;
report)
    if [ -f "$status" ] && [ "$(cat "$status")" != runs ]; then
        echo "Skipped the tests that run the i686 exe: $(cat "$status")."
    fi
    ;;
unavailable)
    record=$status
    twins=${3:?file of the lagging twins}
    apt_output=$(cat)
    # apt's resolver gave up (held or broken packages, or a removal it may not make) ...
    resolver=$(grep -E '^E: (Unable to correct problems|Error, pkgProblemResolver|Packages need to be removed)' <<<"$apt_output" | head -n 1 || true)
    # ... and not for a missing name or a failed download, which no lag explains.
    other=$(grep -E '^E: (Unable to locate package|Couldn.t find any package|Failed to fetch|Package .* has no installation candidate)' <<<"$apt_output" | head -n 1 || true)
    if [ -z "$resolver" ] || [ -n "$other" ]; then
        fail "apt could not install wine32:i386, and not for an i386 library behind its amd64 twin: ${other:-$(grep '^E:' <<<"$apt_output" | head -n 1 || echo "no error line")}"
    fi
    [ -s "$twins" ] || fail "apt could not install wine32:i386 ($resolver), though no i386 library lags its amd64 twin"
    count=$(wc -l <"$twins")
    examples=$(head -n 3 "$twins" | awk '{printf "%s%s %s (i386 %s)", (NR > 1 ? ", " : ""), $1, $2, $3}')
    mkdir -p "$(dirname "$record")"
    echo "apt could not give wine32:i386 on $(date -u +%Y-%m-%d): ${resolver#E: } The i386 builds of $count libraries lag their amd64 twins, as while a mirror syncs: $examples" >"$record"
    cat "$record"
    ;;
*)
    echo "usage: wine32.sh decide|run|report|unavailable ..." >&2
    exit 2
    ;;
esac
