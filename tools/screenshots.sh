#!/usr/bin/env bash
# Takes screenshots of the program in the Wine session that wine-session.sh prepared:
# the main window, the Quick Info box and the About window. Fails when one is missing
# or blank, or when the program does not end cleanly.
#   screenshots.sh SESSION_DIR PROGRAM.exe OUT_DIR
set -euo pipefail
session=${1:?session folder}
exe=${2:?program}
out=${3:?output folder}

fail() { echo "screenshots: $*" >&2; exit 1; }

[ -f "$session/display" ] || fail "no Wine session in $session (run the wine_session_start test first)"
[ -f "$exe" ] || fail "no program at $exe"
for tool in xdotool import convert; do
    command -v "$tool" >/dev/null || fail "$tool not found (apt-get install xdotool imagemagick)"
done

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX="$session/prefix"
DISPLAY=$(cat "$session/display")
export DISPLAY

mkdir -p "$out"
rm -f "$out/main.png" "$out/quickinfo.png" "$out/about.png"
work=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

# A copy of its own, so the log it writes starts empty and stays out of the build.
cp "$exe" "$work/Kestrevane.exe"
/usr/lib/wine/wine64 "$work/Kestrevane.exe" >"$work/wine.log" 2>&1 </dev/null &
pid=$!

# The id of the first visible window whose title matches, waited for up to 30 s.
window() {
    timeout 30 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1
}
# Waits until no visible window has a matching title.
gone() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "a window \"$1\" is still open"
}
# Keys go to the X window with the input focus; there is no window manager to give it.
press() {
    xdotool windowfocus --sync "$1" 2>/dev/null
    xdotool key "$2"
}
shot() {
    sleep 1 # let it paint
    import -window root "$out/$1"
    echo "screenshots: $out/$1"
}

main=$(window '^Kestrevane [^Q]') || true
[ -n "$main" ] || fail "no main window within 30 s"
shot main.png

press "$main" alt+q
box=$(window '^Kestrevane QuickInfo$') || true
[ -n "$box" ] || fail "Alt+Q showed no Quick Info box"
shot quickinfo.png
press "$box" Return
gone '^Kestrevane QuickInfo$'

press "$main" alt+a
about=$(window '^About$') || true
[ -n "$about" ] || fail "Alt+A showed no About window"
shot about.png
press "$about" Escape
gone '^About$'

press "$main" Escape
for _ in $(seq 150); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the program did not end within 15 s of Esc"
rc=0
wait "$pid" || rc=$?
pid=
[ "$rc" -eq 0 ] || fail "the program ended with exit code $rc"

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
