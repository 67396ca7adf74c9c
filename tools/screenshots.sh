#!/usr/bin/env bash
# Takes screenshots of the program in the Wine session that wine-session.sh prepared:
# the main window, the Quick Info box and the About window; both windows with a larger
# message font, as a larger text size gives, at a 16- and a 24-px line (main-text-16px.png,
# about-text-16px.png, the same with 24px, and the main window alone at 24 px,
# main-window-text-24px.png); given the test build that
# can be told High Contrast is on, also both windows under a High Contrast Black colour
# scheme (main-high-contrast.png, about-high-contrast.png, and the main window alone,
# main-window-high-contrast.png). Fails when one is missing or blank, or when the
# program does not end cleanly.
#   screenshots.sh SESSION_DIR PROGRAM.exe OUT_DIR [TEST_BUILD.exe]
set -euo pipefail
session=${1:?session folder}
exe=${2:?program}
out=${3:?output folder}
test_build=${4:-}
source "$(dirname "$0")/wine-env.sh"

fail() { wine_fail "$@"; }
# The path as Wine's programs see it, through the drive Z: that maps /.
dos_path() { printf 'Z:%s' "${1//\//\\}"; }

wine_session_join "$session"
[ -f "$exe" ] || fail "no program at $exe"
wine_need xdotool import convert

mkdir -p "$out"
shots=(main.png quickinfo.png about.png)
for line in 16 24; do shots+=("main-text-${line}px.png" "about-text-${line}px.png"); done
shots+=(main-window-text-24px.png)
[ -z "$test_build" ] || shots+=(main-high-contrast.png about-high-contrast.png main-window-high-contrast.png)
for f in "${shots[@]}"; do rm -f "$out/$f"; done
work=$(mktemp -d)
pid=
colours_saved=
message_font=
font_key='HKCU\Control Panel\Desktop\WindowMetrics'
# The session's colour scheme goes back as it was, whatever happens.
restore_colours() {
    [ -n "$colours_saved" ] || return 0
    "$wine" reg import "$(dos_path "$work/colours.reg")" >/dev/null 2>&1 || echo "screenshots: could not restore the colours" >&2
    colours_saved=
}
# And its message font.
restore_message_font() {
    [ -n "$message_font" ] || return 0
    "$wine" reg add "$font_key" /v MessageFont /t REG_BINARY /d "$message_font" /f >/dev/null 2>&1 ||
        echo "screenshots: could not restore the message font" >&2
    message_font=
}
cleanup() {
    wine_stop_pid "$pid"
    restore_colours
    restore_message_font
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

# The message font (a LOGFONTW at 96 dpi, which new processes read) with its height, the
# first four bytes, at -14 and -20 px: a 16- and a 24-px line in the face that stands in
# for Tahoma here (a few pixels more or less in another).
message_font=$("$wine" reg query "$font_key" /v MessageFont 2>/dev/null | tr -d '\r' |
    awk '$1 == "MessageFont" { print $3 }')
[ ${#message_font} -ge 184 ] || fail "no message font in the registry"
for size in 16:F2FFFFFF 24:ECFFFFFF; do
    line=${size%%:*}
    "$wine" reg add "$font_key" /v MessageFont /t REG_BINARY /d "${size#*:}${message_font:8}" /f >/dev/null 2>&1 ||
        fail "could not set the message font"
    "$wine" "$work/Kestrevane.exe" >"$work/wine.log" 2>&1 </dev/null &
    pid=$!
    main=$(wine_window '^Kestrevane [^Q]') || fail "no main window within 30 s with a ${line}-px line"
    shot "main-text-${line}px.png"
    [ "$line" != 24 ] || import -window "$main" "$out/main-window-text-24px.png"
    dialog alt+a '^About$' 'About window' "about-text-${line}px.png" Escape
    wine_close "$main" "$pid" "the program"
    pid=
done
restore_message_font

if [ -n "$test_build" ]; then
    [ -f "$test_build" ] || fail "no test build at $test_build"
    # Windows' High Contrast Black: the colours a program asks the system for. New
    # processes read them from the registry; Wine itself never reports High Contrast
    # on, so the test build is told it is.
    "$wine" reg export 'HKCU\Control Panel\Colors' "$(dos_path "$work/colours.reg")" /y >/dev/null 2>&1 ||
        fail "could not save the session's colours"
    colours_saved=1
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Colors]\r\n'
        while read -r name value; do printf '"%s"="%s"\r\n' "$name" "$value"; done <<'COLOURS'
ActiveBorder 255 255 0
ActiveTitle 128 0 128
AppWorkSpace 0 0 0
Background 0 0 0
ButtonAlternateFace 0 0 0
ButtonDkShadow 255 255 255
ButtonFace 0 0 0
ButtonHilight 255 255 255
ButtonLight 255 255 255
ButtonShadow 128 128 128
ButtonText 255 255 255
GradientActiveTitle 128 0 128
GradientInactiveTitle 0 128 0
GrayText 63 242 63
Hilight 26 235 255
HilightText 0 0 0
HotTrackingColor 255 255 0
InactiveBorder 0 0 0
InactiveTitle 0 128 0
InactiveTitleText 255 255 255
InfoText 255 255 255
InfoWindow 0 0 0
Menu 0 0 0
MenuBar 0 0 0
MenuHilight 26 235 255
MenuText 255 255 255
Scrollbar 0 0 0
TitleText 255 255 255
Window 0 0 0
WindowFrame 255 255 255
WindowText 255 255 255
COLOURS
    } >"$work/high-contrast.reg"
    "$wine" reg import "$(dos_path "$work/high-contrast.reg")" >/dev/null 2>&1 || fail "could not set High Contrast colours"

    cp "$test_build" "$work/Kestrevane.exe"
    KESTREVANE_FAULT=high-contrast "$wine" "$work/Kestrevane.exe" >"$work/wine.log" 2>&1 </dev/null &
    pid=$!
    main=$(wine_window '^Kestrevane [^Q]') || fail "no main window of the test build within 30 s"
    shot main-high-contrast.png
    import -window "$main" "$out/main-window-high-contrast.png"
    dialog alt+a '^About$' 'About window' about-high-contrast.png Escape
    wine_close "$main" "$pid" "the test build"
    pid=
    restore_colours
fi

# A screenshot of one colour (or a handful: an empty desktop) shows nothing.
for f in "${shots[@]}"; do
    [ -s "$out/$f" ] || fail "$f is missing"
    colours=$(convert "$out/$f" -format '%k' info:)
    [ "$colours" -gt 16 ] || fail "$f is blank ($colours colours)"
done
differ() { [ "$(convert "$out/$1" "$out/$2" -compose difference -composite -format '%[fx:maxima]' info:)" != 0 ]; }
differ main.png about.png || fail "about.png shows the same as main.png"
differ main.png main-text-16px.png || fail "main-text-16px.png shows the same as main.png"
if [ -n "$test_build" ]; then
    differ main.png main-high-contrast.png || fail "main-high-contrast.png shows the same as main.png"
    differ about.png about-high-contrast.png || fail "about-high-contrast.png shows the same as about.png"
fi
echo "screenshots: all ${#shots[@]} taken"
