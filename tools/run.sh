#!/usr/bin/env bash
# Builds the Windows exe and runs it under Wine.
# With a DISPLAY it simply runs the program until you close it. Without one it runs on
# a private Xvfb display, saves build/screenshot.png, prints the log and closes the
# program the way a user would (Esc), then reports its exit code.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh run
source tools/wine-env.sh

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target Kestrevane

exe=build/windows/Kestrevane.exe
log=build/windows/kestrevane.kvn
wine_env "$PWD/build/wine-prefix"

xvfb=
pid=
# shellcheck disable=SC2317 # called by the trap
cleanup() {
    wine_stop_pid "$pid"
    if [ -n "$xvfb" ]; then
        # Wine's helper processes would hold on to a display that goes away under them.
        wine_server_end "$WINEPREFIX" 20
        wine_stop_pid "$xvfb"
    fi
}
trap cleanup EXIT

interactive=yes
if [ -z "${DISPLAY:-}" ]; then
    interactive=
    wine_need xdotool import
    wine_xvfb_start build/xvfb.log
    xvfb=$wine_xvfb_pid
fi

if ! wine_prefix_ready; then
    echo "run: preparing the Wine prefix in build/wine-prefix (once)"
    wine_prefix_init build/wineboot.log
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
window=$(wine_window '^Kestrevane ' 60) || wine_fail "no main window within 60 s"
sleep 1 # let it paint
import -window root build/screenshot.png
echo "run: screenshot saved to build/screenshot.png"
echo "run: the log ($log):"
cat "$log"

# Esc goes even when the focus fails: the wait below tells whether it worked.
wine_press "$window" Escape || true
wine_wait_exit "$pid" 15 || wine_fail "Kestrevane did not end within 15 s of Esc"
pid=
echo "run: Kestrevane exited with code $wine_exit_code"
exit "$wine_exit_code"
