#!/usr/bin/env bash
# Starts or stops the Wine environment the Windows tests share: a fresh prefix
# and a private Xvfb display, both kept in the given session folder.
#   wine-session.sh start|stop SESSION_DIR
set -euo pipefail
action=${1:?start or stop}
session=${2:?session folder}
source "$(dirname "$0")/wine-env.sh"

case $action in
start)
    wine_session_start "$session"
    echo "wine-session: prefix ready, display $DISPLAY"
    ;;
stop)
    wine_session_stop "$session"
    echo "wine-session: stopped"
    ;;
*)
    echo "usage: wine-session.sh start|stop SESSION_DIR" >&2; exit 2 ;;
esac
