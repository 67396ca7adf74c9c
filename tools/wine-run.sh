#!/usr/bin/env bash
# Runs a Windows program under Wine in the session that wine-session.sh prepared.
#   wine-run.sh SESSION_DIR PROGRAM.exe [ARGS...]
set -euo pipefail
session=${1:?session folder}; shift
source "$(dirname "$0")/wine-env.sh"
wine_session_join "$session"
exec "$wine" "$@"
