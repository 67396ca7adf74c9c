#!/usr/bin/env bash
# One installer of tools/package.sh as a user gets it, the 64-bit one or the 32-bit one
# (which 64-bit Windows runs under WoW64), in a fresh Wine prefix of its own: it installs
# silently per user with a Start menu shortcut and the start at sign-in; the installed
# exe is its build's; the program the shortcut names starts and writes its log beside
# itself; a silent install over it while it runs closes it, replaces its (older) exe and
# keeps the log and Task Manager's switch; over it hung, the install and the uninstall
# stop with the manifest's in-use exit code and change no file; the silent uninstall
# closes it and leaves nothing but the log; a second install clears a disabled switch,
# a silent one over it keeps the start at sign-in off; an uninstall that is told to
# delete the log leaves nothing at all. Given CA.pem, the
# installer is a signed one: the installed exe and uninstaller verify as signed by that
# CA, and the exe is the built one once its signature is removed.
#   install_test.sh DIST_DIR VERSION win64|win32 BUILT_EXE SESSION_DIR [CA.pem]
set -euo pipefail
dist=${1:?folder of the packages}
version=${2:?version}
arch=${3:?win64 or win32}
exe_built=${4:?the exe of the build}
session=${5:?folder of the Wine session}
ca=${6:-}
here=$(cd "$(dirname "$0")" && pwd)
wine_env_name="install_test[$arch]: FAIL"
# shellcheck source=../../tools/wine-env.sh
source "$here/../../tools/wine-env.sh"

fail() { wine_fail "$@"; }

wine_need python3 xdotool ${ca:+osslsigncode}

run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
approved_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run'
# As Task Manager writes "Disabled": 03, then the time it was disabled.
disabled=030000004A8A1D3B2C5ED901
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrevane'

setup=$dist/Kestrevane-$version-$arch-setup.exe
# The exit code the winget manifest gives for a package in use.
in_use=$(sed -n 's/^- InstallerReturnCode: //p' "$dist/winget/Kestrevane.Kestrevane.installer.yaml")
started=$SECONDS
step() { echo "install_test[$arch]: $*"; }

program=
passed=
cleanup() {
    # For a 32-bit exe, $program is wine64's wrapper that waits for it and hands on
    # its exit code; the session's stop ends the program itself.
    wine_stop_pid "$program"
    wine_session_stop "$session"
    # The prefix takes hundreds of megabytes; a failed run keeps it for a look.
    if [ -n "$passed" ]; then rm -rf "$session"; fi
}
trap cleanup EXIT
[ -f "$setup" ] || fail "no $setup"
# A fresh prefix: nothing of an earlier install may help this one pass.
wine_session_start "$session"
# Wine would turn the shortcut into a menu entry of this machine's desktop.
wine_session_join "$session" winemenubuilder.exe=d

win() { "$wine" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
unix_path() { win winepath -u "$1"; }
# The data of a registry value, or nothing when it is not there. wine64's reg.exe
# reads the 64-bit view, the one 64-bit Windows' shell reads: a value the 32-bit
# installer wrote into a WoW64-redirected key would not be found.
reg_value() {
    win reg query "$1" /v "$2" | sed -n "s/^    $2    REG_[A-Z_]*    //p" || true
}
has_key() { "$wine" reg query "$1" </dev/null >/dev/null 2>&1; }
listing() { (cd "$1" && find . -mindepth 1 | sort | tr '\n' ' '); }

local_appdata=$(win cmd /c echo %LOCALAPPDATA%)
appdata=$(win cmd /c echo %APPDATA%)
if [ -z "$local_appdata" ] || [ -z "$appdata" ]; then fail "Wine does not tell the user's folders"; fi
# Per-user folders are the same for 32- and 64-bit programs, so both install here.
instdir_win="$local_appdata\\Programs\\Kestrevane"
instdir=$(unix_path "$instdir_win")
lnk=$(unix_path "$appdata\\Microsoft\\Windows\\Start Menu\\Programs\\Kestrevane.lnk")
exe_win="$instdir_win\\Kestrevane.exe"

install() {
    local rc=0
    "$wine" "$setup" /S </dev/null >/dev/null 2>&1 || rc=$?
    [ "$rc" -eq "${1:-0}" ] || fail "the silent install ended with exit code $rc, not ${1:-0}"
}
# Runs the uninstaller and waits for it: it goes on in a copy of itself, whose last
# step removes its registration.
uninstall() {
    "$wine" "$instdir_win\\uninstall.exe" "$@" </dev/null >/dev/null 2>&1 || fail "the uninstaller did not start"
}
# Starts the program the shortcut names and waits for its main window.
start_program() {
    (cd / && exec "$wine" "${link[0]}" </dev/null >/dev/null 2>&1) &
    program=$!
    main=$(wine_window '^Kestrevane ') || fail "the installed program showed no main window within 30 s"
}
# The program ends with 0 by itself, as on WM_CLOSE.
closed() { wine_wait_exit "$program" 15 && [ "$wine_exit_code" -eq 0 ] && program=; }
approved() { reg_value "$approved_key" Kestrevane; }
set_disabled() { win reg add "$approved_key" /v Kestrevane /t REG_BINARY /d "$disabled" /f >/dev/null; }
wait_uninstalled() {
    for _ in $(seq 150); do
        has_key "$uninstall_key" || return 0
        sleep 0.2
    done
    fail "the uninstaller did not finish within 30 s"
}

step "installing $(basename "$setup") silently into a fresh prefix"
install
[ "$(listing "$instdir")" = "./Kestrevane.exe ./LICENSE.txt ./README.txt ./uninstall.exe " ] ||
    fail "the install folder $instdir_win holds: $(listing "$instdir")"
# Both installers write the same file name: only the machine and the bytes tell the
# 32-bit exe from the 64-bit one.
for file in Kestrevane.exe uninstall.exe; do
    machine=$(python3 "$here/packages.py" machine "$instdir/$file")
    [ "$machine" = "$arch" ] || fail "the installed $file is a $machine program, not a $arch one"
done
if [ -n "$ca" ]; then
    python3 "$here/packages.py" signed "$instdir/uninstall.exe" "$ca" || fail "the installed uninstall.exe is not signed by $ca"
    python3 "$here/packages.py" signed "$instdir/Kestrevane.exe" "$ca" "$exe_built" ||
        fail "the installed exe is not $exe_built signed by $ca"
else
    cmp -s "$instdir/Kestrevane.exe" "$exe_built" || fail "the installed exe is not $exe_built"
fi
run=$(reg_value "$run_key" Kestrevane)
[ "$run" = "\"$exe_win\"" ] || fail "the Run value is [$run], not [\"$exe_win\"]"
quiet=$(reg_value "$uninstall_key" QuietUninstallString)
[ "$quiet" = "\"$instdir_win\\uninstall.exe\" /S" ] || fail "QuietUninstallString is [$quiet]"
[ "$(reg_value "$uninstall_key" DisplayVersion)" = "$version" ] || fail "the uninstall entry has no DisplayVersion $version"
[ -f "$lnk" ] || fail "no Start menu shortcut $lnk"
mapfile -t link < <(python3 "$here/packages.py" shortcut "$lnk")
[ "${link[0],,}" = "${exe_win,,}" ] || fail "the shortcut starts [${link[0]}], not [$exe_win]"
[ "${link[1],,}" = "${instdir_win,,}" ] || fail "the shortcut starts in [${link[1]}], not in [$instdir_win]"
step "files ($arch exe of the build${ca:+, signed}), shortcut, Run value and uninstall entry are in place"

# An older copy, which the install over it must replace: the exe with a byte more.
cp "$instdir/Kestrevane.exe" "$session/exe.new"
printf x >>"$instdir/Kestrevane.exe"
step "starting the program the shortcut names"
start_program
log=$instdir/kestrevane.kvn
[ -f "$log" ] || fail "no log beside the installed exe"
if ! grep -qE $'^"[^"]+","[0-9]{2}.[0-9]{2}.[0-9]{2}","1"\r$' "$log" || [ "$(wc -l <"$log")" -ne 1 ]; then
    fail "the log is not one first record: $(cat -A "$log")"
fi
cp "$log" "$session/log.kept"
step "the program wrote its first record beside itself"

step "installing silently over the running copy, which Task Manager keeps from starting"
set_disabled
install
closed || fail "the install did not close the running program"
cmp -s "$instdir/Kestrevane.exe" "$session/exe.new" || fail "the install did not replace the exe of the running program"
cmp -s "$log" "$session/log.kept" || fail "the install over the running copy changed the log"
[ "$(approved)" = "$disabled" ] || fail "the silent install over the copy changed Task Manager's switch to [$(approved)]"
step "it closed the copy, replaced the exe and kept the log and Task Manager's switch"

step "installing and uninstalling over a hung copy"
start_program
pid=$(xdotool getwindowpid "$main") || fail "the program's window names no process"
before=$(cd "$instdir" && sha256sum ./*)
kill -STOP "$pid"
install "$in_use"
# In place (_?=), so that its exit code is the one seen here.
"$wine" "$instdir_win\\uninstall.exe" /S "_?=$instdir_win" </dev/null >/dev/null 2>&1 && rc=0 || rc=$?
kill -CONT "$pid"
[ "$rc" -eq "$in_use" ] || fail "the silent uninstall over the hung copy ended with exit code $rc, not $in_use"
[ "$(cd "$instdir" && sha256sum ./*)" = "$before" ] || fail "the install or uninstall over the hung copy changed its files"
step "both stopped with exit code $in_use and left every file as it was"

step "uninstalling silently over the copy, running again (keeps the log)"
cp "$log" "$session/log.kept"
uninstall /S
wait_uninstalled
closed || fail "the uninstall did not close the running program"
[ "$(listing "$instdir")" = "./kestrevane.kvn " ] || fail "after the uninstall $instdir_win holds: $(listing "$instdir")"
cmp -s "$log" "$session/log.kept" || fail "the uninstall changed the log"
[ ! -e "$lnk" ] || fail "the Start menu shortcut is still there"
[ -z "$(reg_value "$run_key" Kestrevane)" ] || fail "the Run value is still there"
[ -z "$(approved)" ] || fail "Task Manager's switch is still there"
left=$(cd "$session/prefix" && find . -iname '*kestrevane*' ! -path "*/Programs/Kestrevane" ! -path '*/Programs/Kestrevane/kestrevane.kvn')
[ -z "$left" ] || fail "the uninstall left: $left"
step "nothing is left but the log"

step "installing again over the kept log and a switch an older uninstaller left disabled"
set_disabled
install
cmp -s "$log" "$session/log.kept" || fail "the install changed the kept log"
[ -z "$(approved)" ] || fail "the install with the start at sign-in left Task Manager's switch at [$(approved)]"
win reg delete "$run_key" /v Kestrevane /f >/dev/null
install
[ -z "$(reg_value "$run_key" Kestrevane)" ] || fail "a silent install over the copy started it at sign-in again"
step "it cleared the switch; a silent install over it kept the start at sign-in off"

step "uninstalling and deleting the log"
uninstall
confirm=$(wine_window '^Kestrevane .*Uninstall') || fail "the uninstaller showed no window"
wine_press "$confirm" Return
question=
for _ in $(seq 100); do
    question=$(xdotool search --onlyvisible --name '^Kestrevane .*Uninstall' 2>/dev/null | grep -vx "$confirm" | head -n 1) || true
    [ -n "$question" ] && break
    sleep 0.2
done
[ -n "$question" ] || fail "the uninstaller did not ask whether to delete the log"
wine_press "$question" y
wait_uninstalled
# Its Close button takes the focus once the last step is done, a moment after.
for _ in $(seq 20); do
    xdotool search --onlyvisible --name '^Kestrevane .*Uninstall' >/dev/null 2>&1 || break
    wine_press "$confirm" Return 2>/dev/null || true
    sleep 1
done
xdotool search --onlyvisible --name '^Kestrevane .*Uninstall' >/dev/null 2>&1 && fail "the uninstaller did not close"
[ ! -e "$instdir" ] || fail "after deleting the log $instdir_win still holds: $(listing "$instdir")"
[ ! -e "$lnk" ] || fail "the Start menu shortcut is still there"
[ -z "$(reg_value "$run_key" Kestrevane)" ] || fail "the Run value is still there"
step "nothing is left ($((SECONDS - started)) s)"
passed=yes
echo "install_test[$arch]: passed"
