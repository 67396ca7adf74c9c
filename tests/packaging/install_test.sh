#!/usr/bin/env bash
# The packages of tools/package.sh as a user gets them. Both ZIPs hold the right exe,
# the README and the licence. In a fresh Wine prefix of its own, the 64-bit installer
# installs silently per user with a Start menu shortcut and the start at sign-in; the
# program the shortcut names starts and writes its log beside itself; the silent
# uninstall leaves nothing but the log; a second install and an uninstall that is
# told to delete the log leave nothing at all.
#   install_test.sh DIST_DIR VERSION BUILT_EXE SESSION_DIR
set -euo pipefail
dist=${1:?folder of the packages}
version=${2:?version}
built=${3:?the exe of this build}
session=${4:?Wine session folder}
here=$(cd "$(dirname "$0")" && pwd)
tools=$here/../../tools

fail() { echo "install_test: FAIL: $*" >&2; exit 1; }
step() { echo "install_test: $*"; }

for tool in python3 xdotool; do
    command -v "$tool" >/dev/null || fail "$tool not found (bash tools/deps.sh installs it)"
done
setup=$dist/Kestrevane-$version-win64-setup.exe
[ -f "$setup" ] || fail "no $setup: run bash tools/package.sh first"
python3 "$here/packages.py" check "$dist" "$version" "$built" ||
    fail "the packages in $dist are not right (out of date? run bash tools/package.sh)"
step "both ZIPs and both installers are as they should be"

# A fresh prefix: nothing of an earlier install may help this one pass.
bash "$tools/wine-session.sh" start "$session" >/dev/null || fail "no Wine session in $session"
program=
passed=
cleanup() {
    if [ -n "$program" ] && kill -0 "$program" 2>/dev/null; then kill "$program" 2>/dev/null || true; fi
    bash "$tools/wine-session.sh" stop "$session" >/dev/null
    # The prefix takes hundreds of megabytes; a failed run keeps it for a look.
    if [ -n "$passed" ]; then rm -rf "$session"; fi
}
trap cleanup EXIT

# Wine would turn the shortcut into a menu entry of this machine's desktop.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" WINEPREFIX="$session/prefix"
DISPLAY=$(cat "$session/display")
export DISPLAY
wine=/usr/lib/wine/wine64

win() { "$wine" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
unix_path() { win winepath -u "$1"; }
# The data of a registry value, or nothing when it is not there.
reg_value() {
    win reg query "$1" /v "$2" | sed -n "s/^    $2    REG_[A-Z_]*    //p" || true
}
has_key() { "$wine" reg query "$1" </dev/null >/dev/null 2>&1; }
listing() { (cd "$1" && find . -mindepth 1 | sort | tr '\n' ' '); }

run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrevane'
local_appdata=$(win cmd /c echo %LOCALAPPDATA%)
appdata=$(win cmd /c echo %APPDATA%)
[ -n "$local_appdata" ] && [ -n "$appdata" ] || fail "Wine does not tell the user's folders"
instdir_win="$local_appdata\\Programs\\Kestrevane"
instdir=$(unix_path "$instdir_win")
lnk=$(unix_path "$appdata\\Microsoft\\Windows\\Start Menu\\Programs\\Kestrevane.lnk")
exe_win="$instdir_win\\Kestrevane.exe"

install() {
    local rc=0
    "$wine" "$setup" /S </dev/null >/dev/null 2>&1 || rc=$?
    [ "$rc" -eq 0 ] || fail "the silent install ended with exit code $rc"
}

# Runs the uninstaller and waits for it: it goes on in a copy of itself, whose last
# step removes its registration.
uninstall() {
    "$wine" "$instdir_win\\uninstall.exe" "$@" </dev/null >/dev/null 2>&1 || fail "the uninstaller did not start"
}
wait_uninstalled() {
    for _ in $(seq 150); do
        has_key "$uninstall_key" || return 0
        sleep 0.2
    done
    fail "the uninstaller did not finish within 30 s"
}

# The first visible window whose title matches, waited for up to 30 s.
window() { timeout 30 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
# Keys go to the X window with the input focus; there is no window manager to give it.
press() {
    xdotool windowfocus --sync "$1" 2>/dev/null
    xdotool key "$2"
}

step "installing silently into a fresh prefix"
install
[ "$(listing "$instdir")" = "./Kestrevane.exe ./LICENSE.txt ./README.txt ./uninstall.exe " ] ||
    fail "the install folder $instdir_win holds: $(listing "$instdir")"
cmp -s "$instdir/Kestrevane.exe" "$built" || fail "the installed exe is not the exe of this build"
run=$(reg_value "$run_key" Kestrevane)
[ "$run" = "\"$exe_win\"" ] || fail "the Run value is [$run], not [\"$exe_win\"]"
quiet=$(reg_value "$uninstall_key" QuietUninstallString)
[ "$quiet" = "\"$instdir_win\\uninstall.exe\" /S" ] || fail "QuietUninstallString is [$quiet]"
[ "$(reg_value "$uninstall_key" DisplayVersion)" = "$version" ] || fail "the uninstall entry has no DisplayVersion $version"
[ -f "$lnk" ] || fail "no Start menu shortcut $lnk"
mapfile -t link < <(python3 "$here/packages.py" shortcut "$lnk")
[ "${link[0],,}" = "${exe_win,,}" ] || fail "the shortcut starts [${link[0]}], not [$exe_win]"
[ "${link[1],,}" = "${instdir_win,,}" ] || fail "the shortcut starts in [${link[1]}], not in [$instdir_win]"
step "files, shortcut, Run value and uninstall entry are in place"

step "starting the program the shortcut names"
(cd / && exec "$wine" "${link[0]}" </dev/null >/dev/null 2>&1) &
program=$!
main=$(window '^Kestrevane ') || true
[ -n "$main" ] || fail "the installed program showed no main window within 30 s"
press "$main" Escape
for _ in $(seq 150); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program" 2>/dev/null && fail "the installed program did not end within 15 s of Esc"
rc=0
wait "$program" || rc=$?
program=
[ "$rc" -eq 0 ] || fail "the installed program ended with exit code $rc"
log=$instdir/kestrevane.kvn
[ -f "$log" ] || fail "no log beside the installed exe"
grep -qE $'^"[^"]+","[0-9]{2}.[0-9]{2}.[0-9]{2}","1"\r$' "$log" && [ "$(wc -l <"$log")" -eq 1 ] ||
    fail "the log is not one first record: $(cat -A "$log")"
cp "$log" "$session/log.kept"
step "the program wrote its first record beside itself"

step "uninstalling silently (keeps the log)"
uninstall /S
wait_uninstalled
[ "$(listing "$instdir")" = "./kestrevane.kvn " ] || fail "after the uninstall $instdir_win holds: $(listing "$instdir")"
cmp -s "$log" "$session/log.kept" || fail "the uninstall changed the log"
[ ! -e "$lnk" ] || fail "the Start menu shortcut is still there"
[ -z "$(reg_value "$run_key" Kestrevane)" ] || fail "the Run value is still there"
left=$(cd "$session/prefix" && find . -iname '*kestrevane*' ! -path "*/Programs/Kestrevane" ! -path '*/Programs/Kestrevane/kestrevane.kvn')
[ -z "$left" ] || fail "the uninstall left: $left"
step "nothing is left but the log"

step "installing again over the kept log, uninstalling and deleting the log"
install
cmp -s "$log" "$session/log.kept" || fail "the install changed the kept log"
uninstall
confirm=$(window '^Kestrevane .*Uninstall') || true
[ -n "$confirm" ] || fail "the uninstaller showed no window"
press "$confirm" Return
question=
for _ in $(seq 100); do
    question=$(xdotool search --onlyvisible --name '^Kestrevane .*Uninstall' 2>/dev/null | grep -vx "$confirm" | head -n 1) || true
    [ -n "$question" ] && break
    sleep 0.2
done
[ -n "$question" ] || fail "the uninstaller did not ask whether to delete the log"
press "$question" y
wait_uninstalled
# Its Close button takes the focus once the last step is done, a moment after.
for _ in $(seq 20); do
    xdotool search --onlyvisible --name '^Kestrevane .*Uninstall' >/dev/null 2>&1 || break
    press "$confirm" Return 2>/dev/null || true
    sleep 1
done
xdotool search --onlyvisible --name '^Kestrevane .*Uninstall' >/dev/null 2>&1 && fail "the uninstaller did not close"
[ ! -e "$instdir" ] || fail "after deleting the log $instdir_win still holds: $(listing "$instdir")"
[ ! -e "$lnk" ] || fail "the Start menu shortcut is still there"
[ -z "$(reg_value "$run_key" Kestrevane)" ] || fail "the Run value is still there"
step "nothing is left"
passed=yes
echo "install_test: passed"
