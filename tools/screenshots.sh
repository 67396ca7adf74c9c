#!/usr/bin/env bash
# Takes screenshots of the program in the Wine session that wine-session.sh prepared:
# the main window, the Quick Info box and the About window. Fails when one is missing
# or blank, or when the program does not end cleanly.
#   screenshots.sh SESSION_DIR PROGRAM.exe OUT_DIR
set -euo pipefail
session=${1:?session folder}
exe=${2:?program}
out=${3:?output folder}
source "$(dirname "$0")/wine-env.sh"

fail() { wine_fail "$@"; }

wine_session_join "$session"
[ -f "$exe" ] || fail "no program at $exe"
wine_need xdotool import convert

mkdir -p "$out"
rm -f "$out/main.png" "$out/quickinfo.png" "$out/about.png"
work=$(mktemp -d)
pid=
cleanup() {
    wine_stop_pid "$pid"
    rm -rf "$work"
}
trap cleanup EXIT

# A copy of its own, so the log it writes starts empty and stays out of the build.
cp "$exe" "$work/Kestrevane.exe"
"$wine" "$work/Kestrevane.exe" >"$work/wine.log" 2>&1 </dev/null &
pid=$!

# Waits until no visible window has a matching title.
gone() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "a window \"$1\" is still open"
}
shot() {
    sleep 1 # let it paint
    import -window root "$out/$1"
    echo "screenshots: $out/$1"
}
# dialog ALT_KEY TITLE WHAT PNG CLOSE_KEY: opens a window from the main one, shoots it and
# closes it again.
dialog() {
    local window letter=${1#alt+}
    wine_press "$main" "$1"
    window=$(wine_window "$2") || fail "Alt+${letter^^} showed no $3"
    shot "$4"
    wine_press "$window" "$5"
    gone "$2"
}

main=$(wine_window '^Kestrevane [^Q]') || fail "no main window within 30 s"
shot main.png
dialog alt+q '^Kestrevane QuickInfo$' 'Quick Info box' quickinfo.png Return
dialog alt+a '^About$' 'About window' about.png Escape

wine_close "$main" "$pid" "the program"
pid=

# A screenshot of one colour (or a handful: an empty desktop) shows nothing.
for f in main.png quickinfo.png about.png; do
    [ -s "$out/$f" ] || fail "$f is missing"
    colours=$(convert "$out/$f" -format '%k' info:)
    [ "$colours" -gt 16 ] || fail "$f is blank ($colours colours)"
done
if [ "$(convert "$out/main.png" "$out/about.png" -compose difference -composite -format '%[fx:maxima]' info:)" = 0 ]; then
    fail "about.png shows the same as main.png"
fi
echo "screenshots: all three taken"
