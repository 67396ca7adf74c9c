# shellcheck shell=bash
# The one Wine environment of run, test, screenshots, bench and the install test:
# Wine's paths, its environment for a prefix, a private Xvfb, a prefix's set-up and
# server, the session folder the Windows tests share, and waiting for programs.
# Sourced by scripts that run under set -euo pipefail; a failure exits the script (or
# the subshell) with a message that starts with wine_env_name.
#   source tools/wine-env.sh

wine_env_name=${wine_env_name:-$(basename "$0" .sh)}
# Wine's paths are found when a function needs them, not here: a script may source this
# before tools/deps.sh has installed Wine.
wine=/usr/lib/wine/wine64
wineserver=

# wine_find_server: sets wineserver; returns 1 when Wine is not installed.
wine_find_server() {
    [ -n "$wineserver" ] && return 0
    wineserver=/usr/lib/wine/wineserver64
    [ -x "$wineserver" ] || wineserver=$(command -v wineserver || true)
    [ -n "$wineserver" ]
}

wine_fail() {
    echo "$wine_env_name: $*" >&2
    exit 1
}

# wine_need COMMAND...: fails naming the first command that is not installed.
wine_need() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || wine_fail "$tool not found (bash tools/deps.sh installs it)"
    done
}

# wine_env PREFIX [DLL_OVERRIDE...]: exports what every Wine run here gets: no debug
# output, no prompt to install Mono or Gecko, the prefix, and a UTF-8 locale whatever
# the caller's (Wine maps file names through it: under an ASCII one, a folder named
# "Zoë" cannot be made). A test that wants another locale sets LC_ALL for its child.
wine_env() {
    local overrides="mscoree,mshtml=" extra
    [ -x "$wine" ] || wine_fail "$wine not found (bash tools/deps.sh installs wine64)"
    wine_find_server || wine_fail "wineserver not found (bash tools/deps.sh installs wine64)"
    for extra in "${@:2}"; do overrides+=";$extra"; done
    export WINEDEBUG=-all WINEDLLOVERRIDES="$overrides" WINEPREFIX="$1" LANG=C.UTF-8 LC_ALL=C.UTF-8
    unset LANGUAGE
}

# wine_running PID: whether PID is alive. A zombie counts as ended: a container's
# init may never reap one.
wine_running() {
    kill -0 "$1" 2>/dev/null && ! grep -q '^State:[[:space:]]*Z' "/proc/$1/status" 2>/dev/null
}

# wine_wait_exit PID SECONDS: waits up to SECONDS for PID to end; then, for a child of
# this shell, sets wine_exit_code. Returns 1 while it still runs.
wine_wait_exit() {
    local pid=$1 i
    for ((i = 0; i < $2 * 10; i++)); do
        wine_running "$pid" || break
        sleep 0.1
    done
    wine_running "$pid" && return 1
    wine_exit_code=0
    wait "$pid" 2>/dev/null || wine_exit_code=$?
}

# wine_stop_pid [PID]: ends PID if it runs (nothing for an empty PID), forcibly after 5 s.
wine_stop_pid() {
    [ -n "${1:-}" ] && wine_running "$1" || return 0
    kill "$1" 2>/dev/null || true
    wine_wait_exit "$1" 5 || kill -KILL "$1" 2>/dev/null || true
}

# wine_xvfb_start LOG: starts Xvfb on the first free display from :90, in a session of
# its own so that a test's process group signals leave it alone; exports DISPLAY and
# sets wine_xvfb_pid.
wine_xvfb_start() {
    local log=$1 n _
    wine_need Xvfb
    for n in $(seq 90 190); do
        if [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; then continue; fi
        # Only the socket file in /tmp: an abstract socket is shared by every /tmp on the
        # machine (a chroot's too), and a client would reach another root's server there.
        setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -nolisten local >"$log" 2>&1 </dev/null &
        wine_xvfb_pid=$!
        # An X server writes its pid into the lock: the display is ours only then.
        for _ in $(seq 100); do
            if [ -e "/tmp/.X11-unix/X$n" ] && [ "$(tr -d ' ' <"/tmp/.X$n-lock" 2>/dev/null)" = "$wine_xvfb_pid" ]; then
                export DISPLAY=":$n"
                return 0
            fi
            wine_running "$wine_xvfb_pid" || break
            sleep 0.1
        done
        wine_stop_pid "$wine_xvfb_pid"
        # Another server took the display a moment before this one: try the next.
        [ -e "/tmp/.X$n-lock" ] && [ "$(tr -d ' ' <"/tmp/.X$n-lock" 2>/dev/null)" != "$wine_xvfb_pid" ] && continue
        cat "$log" >&2 || true
        wine_fail "Xvfb did not start on :$n"
    done
    wine_fail "no free X display"
}

# wine_prefix_ready: whether WINEPREFIX has been set up to the end.
wine_prefix_ready() {
    [ -f "$WINEPREFIX/system.reg" ]
}

# wine_prefix_init LOG: sets up WINEPREFIX, unless that is done, and waits for Wine's
# set-up processes to end.
wine_prefix_init() {
    wine_prefix_ready && return 0
    "$wine" wineboot --init >"$1" 2>&1 </dev/null
    "$wineserver" -w
    wine_prefix_ready || wine_fail "wineboot did not set up $WINEPREFIX (see $1)"
}

# wine_server_keep: one server for the prefix until wine_server_end, instead of one
# per process.
wine_server_keep() {
    setsid "$wineserver" -p >/dev/null 2>&1 </dev/null &
    # The first program in a fresh server starts Wine's background services, and they
    # inherit its output: start them here on /dev/null, or the first test's output
    # pipe stays open after the test ends and CTest waits on it.
    "$wine" cmd /c exit >/dev/null 2>&1 </dev/null
}

# wine_server_end PREFIX [SECONDS]: ends the prefix's server and its programs; given
# SECONDS, first lets them finish by themselves for that long.
wine_server_end() {
    if [ ! -d "$1" ] || ! wine_find_server; then return 0; fi
    if [ -n "${2:-}" ]; then
        WINEPREFIX=$1 timeout "$2" "$wineserver" -w 2>/dev/null && return 0
    fi
    WINEPREFIX=$1 "$wineserver" -k 2>/dev/null || true
}

# The session folder the Windows tests share (CMake and wine-run.sh know it too):
# SESSION/prefix, SESSION/display (":N"), SESSION/xvfb.pid, SESSION/wm.pid, and the
# logs of Xvfb, the window manager and wineboot.

# wine_wm_start SESSION: a window manager on DISPLAY, as every user's desktop has one;
# sets wine_wm_pid (empty with KESTREVANE_WINDOW_MANAGER=none). Without one, Wine waits
# out a 2 s timeout for it each time a shown window goes.
wine_wm_start() {
    local session=$1 _
    wine_wm_pid=
    case ${KESTREVANE_WINDOW_MANAGER:-openbox} in
    none) return 0 ;;
    openbox) ;;
    *) wine_fail "KESTREVANE_WINDOW_MANAGER is openbox or none, not $KESTREVANE_WINDOW_MANAGER" ;;
    esac
    wine_need openbox
    rm -f "$session/wm.ready"
    # --startup runs once openbox manages the screen: Wine's windows come after that.
    setsid openbox --sm-disable --startup "touch '$session/wm.ready'" >"$session/wm.log" 2>&1 </dev/null &
    wine_wm_pid=$!
    for _ in $(seq 100); do
        [ -e "$session/wm.ready" ] && return 0
        wine_running "$wine_wm_pid" || break
        sleep 0.1
    done
    cat "$session/wm.log" >&2 || true
    wine_fail "openbox did not start on $DISPLAY"
}

# wine_session_start SESSION: a fresh prefix on a fresh Xvfb with a window manager, in
# this shell's environment too.
wine_session_start() {
    local session=$1
    wine_session_stop "$session"
    rm -rf "$session"
    mkdir -p "$session"
    wine_env "$session/prefix"
    wine_xvfb_start "$session/xvfb.log"
    echo "$wine_xvfb_pid" >"$session/xvfb.pid"
    echo "$DISPLAY" >"$session/display"
    wine_wm_start "$session"
    echo "$wine_wm_pid" >"$session/wm.pid"
    wine_prefix_init "$session/wineboot.log"
    wine_server_keep
}

# wine_session_stop SESSION: ends its programs, server, window manager and Xvfb; keeps
# its files.
wine_session_stop() {
    local session=$1 kind
    wine_server_end "$session/prefix"
    for kind in wm xvfb; do
        if [ -f "$session/$kind.pid" ]; then
            wine_stop_pid "$(cat "$session/$kind.pid")"
            rm -f "$session/$kind.pid"
        fi
    done
}

# wine_session_join SESSION [DLL_OVERRIDE...]: the environment of a running session.
wine_session_join() {
    [ -f "$1/display" ] || wine_fail "no Wine session in $1 (run the wine_session_start test first)"
    wine_env "$1/prefix" "${@:2}"
    DISPLAY=$(cat "$1/display")
    export DISPLAY
}

# wine_window TITLE_REGEX [SECONDS]: the id of the first visible window whose title
# matches, waited for up to SECONDS (default 30); fails when none comes.
wine_window() {
    local id
    id=$(timeout "${2:-30}" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
    [ -n "$id" ] && echo "$id"
}

# wine_press WINDOW KEY: keys go to the X window with the input focus, which is given
# here: a window manager may not run (run.sh starts none) or may not give it at once.
wine_press() {
    xdotool windowfocus --sync "$1" 2>/dev/null
    xdotool key "$2"
}

# wine_close WINDOW PID WHAT: closes a program as a user would (Esc in its main
# window) and fails unless PID, a child of this shell, ends with 0 within 15 s.
wine_close() {
    wine_press "$1" Escape
    wine_wait_exit "$2" 15 || wine_fail "$3 did not end within 15 s of Esc"
    [ "$wine_exit_code" -eq 0 ] || wine_fail "$3 ended with exit code $wine_exit_code"
}
