#!/usr/bin/env bash
# Builds the Windows exe and runs it under Wine.
# With a DISPLAY it simply runs the program until you close it. Without one it runs on
# a private Xvfb display, saves build/screenshot.png, prints the log and closes the
# program the way a user would (Esc), then reports its exit code.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)"

exe=build/windows/Kestrevane.exe
log=build/windows/kestrevane.kvn
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
[ -x "$wine" ] || { echo "run: $wine not found" >&2; exit 1; }

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX="$PWD/build/wine-prefix"

xvfb=
pid=
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid" 2>/dev/null || true; fi
    if [ -n "$xvfb" ]; then
        # Wine's helper processes would hold on to a display that goes away under them.
        timeout 20 "$wineserver" -w 2>/dev/null || "$wineserver" -k 2>/dev/null || true
        kill "$xvfb" 2>/dev/null || true
    fi
}
trap cleanup EXIT

interactive=yes
if [ -z "${DISPLAY:-}" ]; then
    interactive=
    display=
    for n in $(seq 90 190); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
    done
    [ -n "$display" ] || { echo "run: no free X display" >&2; exit 1; }
    Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
    xvfb=$!
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
    [ -e "/tmp/.X11-unix/X$display" ] || { echo "run: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$display"
fi

if [ ! -d "$WINEPREFIX" ]; then
    echo "run: preparing the Wine prefix in build/wine-prefix (once)"
    "$wine" wineboot --init >/dev/null 2>&1
    "$wineserver" -w
fi

if [ -n "$interactive" ]; then
    echo "run: starting $exe on $DISPLAY; close it to finish"
    rc=0
    "$wine" "$exe" || rc=$?
    echo "run: Kestrevane exited with code $rc"
    exit "$rc"
fi

"$wine" "$exe" >/dev/null 2>&1 </dev/null &
pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Kestrevane ' 2>/dev/null | head -n 1) || true
if [ -z "$window" ]; then
    echo "run: no main window within 60 s" >&2
    exit 1
fi
sleep 1 # let it paint
import -window root build/screenshot.png
echo "run: screenshot saved to build/screenshot.png"
echo "run: the log ($log):"
cat "$log"

# No window manager gives the window the keyboard, so give it to it before Esc.
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key Escape
for _ in $(seq 150); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then
    echo "run: Kestrevane did not end within 15 s of Esc" >&2
    exit 1
fi
rc=0
wait "$pid" || rc=$?
pid=
echo "run: Kestrevane exited with code $rc"
exit "$rc"
