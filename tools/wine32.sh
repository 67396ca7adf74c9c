#!/usr/bin/env bash
# Whether Wine's 32-bit half runs on this machine, decided once per test run, and the
# tests that need it run or skipped by that decision. Some kernels are built without
# 32-bit support: there any i386 program, Wine's 32-bit loader included, fails with
# "Exec format error", and the i686 exe cannot run at all.
#   wine32.sh decide STATUS_FILE [LOADER]   writes "runs" or the reason it cannot
#   wine32.sh run STATUS_FILE COMMAND...    runs COMMAND, or exits 77 (skipped) with the reason
#   wine32.sh report STATUS_FILE            prints the reason when it cannot run, else nothing
# Anything else that stops the loader (not installed, broken) fails: only the kernel's
# refusal is a reason to skip.
set -euo pipefail
action=${1:?decide, run or report}
status=${2:?status file}
skipped=77

fail() {
    echo "wine32: $*" >&2
    exit 1
}

case $action in
decide)
    loader=${3:-/usr/lib/wine/wine}
    rm -f "$status"
    [ -f "$loader" ] || fail "no $loader: Wine's 32-bit half is not installed (bash tools/deps.sh test installs wine32:i386)"
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
*)
    echo "usage: wine32.sh decide|run|report STATUS_FILE ..." >&2
    exit 2
    ;;
esac
