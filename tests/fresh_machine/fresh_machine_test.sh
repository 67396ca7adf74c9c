#!/usr/bin/env bash
# The README's promise, checked: on a fresh Debian 12 or 13 machine, as root, from a
# clone of the repository, the run command and the package command each work on their
# first try.
# The fresh machine is a minimal root of that release made by debootstrap from Debian's
# packages (nothing of this machine's installed packages in it), holding a clone of the
# commit with its .git but without git itself. Each command runs there in a private
# mount namespace (its own /proc, /sys, /dev, and a fresh /tmp and /dev/shm) with a bare
# environment (only HOME and PATH). The run must end with 0 and leave the screenshot and
# one record in the log; the package command must end with 0 and leave the four packages,
# their SHA256SUMS and the winget manifest.
# With --windows-tests, the root then runs the exes' import and size checks, the
# end-to-end tests of both exes and both installers' install tests under that release's
# Wine, and the reproducibility check.
#   fresh_machine_test.sh [--windows-tests] CHECKOUT WORK_DIR ROOT_CACHE RELEASE [COMMIT]
# RELEASE: 12 or 13. ROOT_CACHE keeps each release's bare root between runs (it is what
# any fresh machine holds); WORK_DIR/debian-RELEASE is emptied first and removed when
# the check passed. COMMIT: HEAD by default. Where no private mount namespace can be
# made (inside a chroot), the check is skipped: exit code 77, with the reason.
set -euo pipefail
windows_tests=
if [ "${1:-}" = --windows-tests ]; then
    windows_tests=yes
    shift
fi
checkout=${1:?checkout}
work=${2:?work folder}
cache=${3:?folder for the bare roots}
release=${4:?Debian release, 12 or 13}
commit=${5:-HEAD}
case $release in
12) suite=bookworm ;;
13) suite=trixie ;;
*) echo "fresh_machine: Debian $release is not one this check knows (12 or 13)" >&2; exit 2 ;;
esac
machine="Debian $release"

fail() {
    echo "fresh_machine ($machine): FAIL: $*" >&2
    exit 1
}
step() { echo "fresh_machine ($machine): $* ($((SECONDS - started)) s)"; }
started=$SECONDS

[ "$(id -u)" = 0 ] || fail "needs root (debootstrap, chroot and mounts)"
for tool in debootstrap unshare chroot git; do
    command -v "$tool" >/dev/null || fail "$tool not found (bash tools/deps.sh test installs it)"
done
commit=$(git -C "$checkout" rev-parse --verify "$commit^{commit}") || fail "no commit $commit in $checkout"
# Inside a chroot the root folder is no mount point, and no private namespace can be made:
# there the check cannot run at all, which is no fault of the commands it checks.
if ! reason=$(unshare --mount --propagation private true 2>&1); then
    echo "skipped: no private mount namespace can be made here ($reason), as inside a chroot, so the fresh $machine machine is not checked here"
    exit 77
fi

# This machine's apt sources name its own release; the root's are the same with the
# root's release instead (a Debian 12 machine checks 13 from the same mirror).
host_suite=$( (. /etc/os-release && echo "${VERSION_CODENAME:-}") 2>/dev/null || true)
[ -n "$host_suite" ] || host_suite=$suite

# Where this machine gets Debian's packages from: the first source of its own suite in
# its apt configuration, or debootstrap's own default.
mirror() {
    local suite=$host_suite
    local file
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$file" ] || continue
        awk -v suite="$suite" '$1 == "deb" { for (i = 2; i < NF; i++) if ($i !~ /^\[/ && $(i + 1) == suite) { print $i; exit } }' "$file"
    done
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        awk -v suite="$suite" 'BEGIN { RS = ""; FS = "\n" }
            { uri = ""; ok = 0
              for (i = 1; i <= NF; i++) {
                  if ($i ~ /^URIs:/) { split($i, u, /[ \t]+/); uri = u[2] }
                  if ($i ~ /^Suites:/ && (" " $i " ") ~ (" " suite " ")) ok = 1
              }
              if (ok && uri != "") { print uri; exit } }' "$file"
    done
}

# The bare root, made once: debootstrap's minimal variant, with this machine's way to
# reach Debian's packages (its sources and its Acquire settings, such as a proxy).
root_cache=$cache/debian-$release-minbase
if [ ! -f "$root_cache/.complete" ]; then
    step "making the bare $machine root in $root_cache"
    rm -rf "$root_cache" "$root_cache.new"
    mkdir -p "$cache"
    site=$(mirror | head -n 1)
    debootstrap_log=$cache/debootstrap-$release.log
    debootstrap --variant=minbase "$suite" "$root_cache.new" ${site:+"$site"} >"$debootstrap_log" 2>&1 ||
        { tail -n 30 "$debootstrap_log" >&2; fail "debootstrap could not make the root (root rights, network to Debian's packages?)"; }
    # This machine's sources, for the root's release, replace debootstrap's one line, which
    # would name one twice (and lacks the security updates).
    sources=()
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
        if [ -f "$file" ] && grep -qw -- "$host_suite" "$file"; then sources+=("$file"); fi
    done
    [ ${#sources[@]} -gt 0 ] || fail "this machine's apt configuration names no sources of $host_suite to give the root"
    rm -f "$root_cache.new/etc/apt/sources.list"
    for file in "${sources[@]}"; do
        sed "s/\\<$host_suite\\>/$suite/g" "$file" >"$root_cache.new$file"
    done
    grep -l '^[[:space:]]*Acquire::' /etc/apt/apt.conf.d/* 2>/dev/null | while read -r file; do
        cp "$file" "$root_cache.new$file"
    done
    rm -f "$root_cache.new"/var/cache/apt/archives/*.deb
    touch "$root_cache.new/.complete"
    mv "$root_cache.new" "$root_cache"
fi

# The work folder lies in the build tree: never empty anything else.
work=$(mkdir -p "$work" && cd "$work" && pwd)
case $work in
*/fresh-machine) ;;
*) fail "$work is not a folder named fresh-machine, the only kind this script empties in" ;;
esac
work=$work/debian-$release
mkdir -p "$work"
root=$work/root
# Ends whatever still runs in the root (a Wine server, an X server), so that nothing
# keeps its mounts or files.
stop_root_processes() {
    local link pid
    for link in /proc/[0-9]*/root; do
        [ "$(readlink "$link" 2>/dev/null)" = "$root" ] || continue
        pid=${link#/proc/}
        pid=${pid%/root}
        kill -KILL "$pid" 2>/dev/null || true
    done
}
passed=
cleanup() {
    stop_root_processes
    if [ -n "$passed" ]; then rm -rf "$root"; fi
}
trap cleanup EXIT
if [ -d "$root" ]; then stop_root_processes; fi
rm -rf "$root" "$work"/*.log
step "copying the bare root"
cp -a "$root_cache" "$root"
rm -f "$root/.complete"
cp /etc/resolv.conf "$root/etc/resolv.conf"
[ ! -e "$root/usr/bin/git" ] || fail "the bare root has git installed"

# A clone as a user has it: the commit checked out, .git included.
home=/root
source_dir=$home/kestrevane
git clone -q --no-hardlinks "$checkout" "$root$source_dir"
git -C "$root$source_dir" checkout -q --detach "$commit"
step "cloned $(git -C "$root$source_dir" log -1 --format='%h %s')"

# The packages apt downloads are kept for the next run, as a mirror nearby would keep
# them: apt still decides what to install from the bare root's state and checks each
# file against the archive's index, but fetches only what is new.
archives=$cache/debian-$release-archives
mkdir -p "$archives/partial"

# in_root NAME COMMAND: runs COMMAND in the root's checkout as a user would, output in NAME.log.
in_root() {
    local name=$1 command=$2
    # shellcheck disable=SC2016 # expanded by the inner shell
    unshare --mount --propagation private -- bash -c '
        set -e
        root=$1
        mount -t proc proc "$root/proc"
        mount --rbind /sys "$root/sys"
        mount --rbind /dev "$root/dev"
        mount -t tmpfs tmpfs "$root/dev/shm"
        mount -t tmpfs tmpfs "$root/tmp"
        mount --bind "$4" "$root/var/cache/apt/archives"
        exec chroot "$root" /usr/bin/env -i HOME="$2" PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
            bash -c "cd \"\$HOME/kestrevane\" && $3"' \
        fresh "$root" "$home" "$command" "$archives" >"$work/$name.log" 2>&1 </dev/null
}

# run_first NAME COMMAND: the command's first try must end with 0.
run_first() {
    local name=$1 rc=0
    step "$name: $2"
    in_root "$name" "$2" || rc=$?
    stop_root_processes
    if [ "$rc" != 0 ]; then
        tail -n 40 "$work/$name.log" >&2
        fail "$2 ended with exit code $rc on its first try (all of its output: $work/$name.log)"
    fi
}

built=$root$source_dir/build
run_first run "bash tools/run.sh"
[ -s "$built/screenshot.png" ] || fail "the run left no build/screenshot.png"
log=$built/windows/kestrevane.kvn
[ -f "$log" ] || fail "the run left no log"
if [ "$(wc -l <"$log")" -ne 1 ] || ! grep -qE $'^"[^"]+","[0-9]{2}.[0-9]{2}.[0-9]{2}","1"\r$' "$log"; then
    fail "the log is not one first record: $(cat -A "$log")"
fi
step "the run showed its window, saved the screenshot and wrote one record"

run_first package "bash tools/package.sh"
listing=$(cd "$built/dist" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')
version=$(sed -n 's/^project(Kestrevane VERSION \([0-9.]*\).*/\1/p' "$root$source_dir/CMakeLists.txt")
expected="Kestrevane-$version-win32-setup.exe Kestrevane-$version-win32.zip Kestrevane-$version-win64-setup.exe"
expected+=" Kestrevane-$version-win64.zip SHA256SUMS winget/Kestrevane.Kestrevane.installer.yaml"
expected+=" winget/Kestrevane.Kestrevane.locale.en-US.yaml winget/Kestrevane.Kestrevane.yaml "
[ "$listing" = "$expected" ] || fail "build/dist holds [$listing], not [$expected]"
(cd "$built/dist" && sha256sum --quiet -c SHA256SUMS) || fail "build/dist's SHA256SUMS does not hold"
step "the package command made the four packages, SHA256SUMS and the winget manifest"

if [ -n "$windows_tests" ]; then
    # This release's Wine, window manager and compilers under the same tests as the
    # host's: both exes' imports (XP's loader) and sizes, both exes end to end, both
    # installers, and a second build byte for byte.
    run_first windows-tests "bash tools/deps.sh windows-tests && cmake --preset windows >/dev/null &&
        cmake --build --preset windows -j \$(nproc) --target e2e_tests &&
        ctest --preset windows -j \$(nproc) -R '^(exe_.*|e2e_tests_x86_64|e2e_tests_i686|packages_install_win64|packages_install_win32|reproducible_build)\$' &&
        bash tools/wine32.sh report build/windows/wine32.status"
    # What the root's mirror could not give, and what was skipped for it.
    grep -E '^[0-9]+% tests passed|Total Test time|Skipped|Not Run|^deps: (apt-get update could not|going on without)' \
        "$work/windows-tests.log" | sed "s/^/fresh_machine ($machine): /" || true
    # shellcheck disable=SC2016 # a dpkg-query format, not a shell expression
    step "the Windows tests passed under Wine $(chroot "$root" dpkg-query -W -f='${Version}' wine64)"
fi

passed=yes
echo "fresh_machine ($machine): passed in $((SECONDS - started)) s"
