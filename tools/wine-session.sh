#!/usr/bin/env bash
# Starts or stops the Wine environment the Windows tests share: a fresh prefix
# and a private Xvfb display, both kept in the given session folder.
#   wine-session.sh start|stop SESSION_DIR
set -euo pipefail
action=${1:?start or stop}
session=${2:?session folder}
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
[ -x "$wineserver" ] || wineserver=$(command -v wineserver || true)

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX="$session/prefix"

stop() {
    if [ -d "$WINEPREFIX" ] && [ -n "$wineserver" ]; then "$wineserver" -k 2>/dev/null || true; fi
    if [ -f "$session/xvfb.pid" ]; then
        kill "$(cat "$session/xvfb.pid")" 2>/dev/null || true
        rm -f "$session/xvfb.pid"
    fi
}

case $action in
start)
    [ -x "$wine" ] || { echo "wine-session: $wine not found (apt-get install wine64)" >&2; exit 1; }
    command -v Xvfb >/dev/null || { echo "wine-session: Xvfb not found (apt-get install xvfb)" >&2; exit 1; }
    [ -n "$wineserver" ] || { echo "wine-session: wineserver not found" >&2; exit 1; }
    stop
    rm -rf "$session"
    mkdir -p "$session"
    display=
    for n in $(seq 90 190); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
    done
    [ -n "$display" ] || { echo "wine-session: no free X display" >&2; exit 1; }
    setsid Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$session/xvfb.log" 2>&1 < /dev/null &
    echo $! >"$session/xvfb.pid"
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
    [ -e "/tmp/.X11-unix/X$display" ] || { echo "wine-session: Xvfb did not start" >&2; cat "$session/xvfb.log" >&2; exit 1; }
    echo ":$display" >"$session/display"
    export DISPLAY=":$display"
    "$wine" wineboot --init >"$session/wineboot.log" 2>&1
    "$wineserver" -w
    # Keep one server alive for all tests instead of one per process.
    setsid "$wineserver" -p >/dev/null 2>&1 < /dev/null &
    # The first program in a fresh server starts Wine's background services,
    # and they inherit its output: start them here on /dev/null, or the first
    # test's output pipe stays open after the test ends and CTest waits on it.
    "$wine" cmd /c exit >/dev/null 2>&1 < /dev/null
    echo "wine-session: prefix ready, display :$display"
    ;;
stop)
    stop
    echo "wine-session: stopped"
    ;;
*)
    echo "usage: wine-session.sh start|stop SESSION_DIR" >&2; exit 2 ;;
esac
