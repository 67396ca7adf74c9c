#!/usr/bin/env bash
# Runs a Windows program under Wine in the session that wine-session.sh prepared.
#   wine-run.sh SESSION_DIR PROGRAM.exe [ARGS...]
set -euo pipefail
session=${1:?session folder}; shift
if [ ! -f "$session/display" ]; then
    echo "wine-run: no Wine session in $session (run the wine_session_start test first)" >&2
    exit 1
fi
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX="$session/prefix"
DISPLAY=$(cat "$session/display")
export DISPLAY
exec /usr/lib/wine/wine64 "$@"
