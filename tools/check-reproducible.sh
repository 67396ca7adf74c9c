#!/usr/bin/env bash
# Builds both exes, the four packages and SHA256SUMS a second time, from a copy of the checkout in
# another folder (other source and build paths, of other lengths, at a later time), and
# compares them byte for byte with the first build's (docs/releasing.md).
#   check-reproducible.sh WORK_DIR VERSION WIN64_EXE WIN32_EXE DIST_DIR
# WORK_DIR is emptied first and removed when everything matched; a failure keeps it.
set -euo pipefail
work=${1:?folder for the second build}
version=${2:?version}
first_win64=${3:?the x86_64 exe of the first build}
first_win32=${4:?the i686 exe of the first build}
first_dist=${5:?folder of the first build packages}
root=$(cd "$(dirname "$0")/.." && pwd)

fail() { echo "check-reproducible: FAIL: $*" >&2; exit 1; }

# SHA256SUMS stands for itself and the winget manifest it lists.
packages=("Kestrevane-$version-win64.zip" "Kestrevane-$version-win64-setup.exe"
          "Kestrevane-$version-win32.zip" "Kestrevane-$version-win32-setup.exe" SHA256SUMS)
for f in "$first_win64" "$first_win32" "${packages[@]/#/$first_dist/}"; do
    [ -s "$f" ] || fail "no $f from the first build (tools/package.sh makes it)"
done

# The packages take their time from the commit, or from SOURCE_DATE_EPOCH when it is set
# (then for both builds alike).
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    epoch=$(git -C "$root" log -1 --format=%ct) || fail "no commit time in $root; set SOURCE_DATE_EPOCH"
fi

work=$(mkdir -p "$work" && cd "$work" && pwd)
case "$work/" in
    "$root/build/"*) ;;
    *) fail "$work is not below $root/build, the only place this script empties" ;;
esac
rm -rf "${work:?}"/*
mkdir -p "$work/source"
tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$work/source" -xf -
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    # The copy becomes a repository of one commit of the same time, so that it builds as
    # a checkout does: SOURCE_DATE_EPOCH given to it alone would also set the exes' PE
    # time stamps (the linker heeds it) and hide their difference.
    git -C "$work/source" init -q
    git -C "$work/source" add -A
    GIT_AUTHOR_DATE="@$epoch +0000" GIT_COMMITTER_DATE="@$epoch +0000" \
        git -C "$work/source" -c user.name=check -c user.email=check@localhost -c commit.gpgsign=false \
            commit -q --no-verify -m "copy for the reproducibility check"
    [ "$(git -C "$work/source" log -1 --format=%ct)" = "$epoch" ] || fail "the copy's commit has not the time $epoch"
fi

started=$SECONDS
bash "$work/source/tools/package.sh" "$work/x86_64" "$work/i686" "$work/dist" >"$work/package.log" 2>&1 ||
    fail "the second build failed, see $work/package.log"
echo "check-reproducible: second build in $((SECONDS - started)) s"

differ=0
compare() {
    local first=$1 second=$2
    if cmp -s "$first" "$second"; then
        echo "same     $(sha256sum <"$first" | cut -d' ' -f1)  $(basename "$first") ($first)"
    else
        differ=1
        echo "DIFFERS  $first against $second:" >&2
        cmp -l "$first" "$second" 2>&1 | head -n 8 | sed 's/^/    /' >&2 || true
    fi
}
compare "$first_win64" "$work/x86_64/Kestrevane.exe"
compare "$first_win32" "$work/i686/Kestrevane.exe"
for p in "${packages[@]}"; do
    compare "$first_dist/$p" "$work/dist/$p"
done

# A folder name in an exe differs above too; named here, it says why.
for exe in "$work/x86_64/Kestrevane.exe" "$work/i686/Kestrevane.exe"; do
    if grep -q -a -F "$work" "$exe"; then
        differ=1
        echo "$exe holds its build path $work" >&2
    fi
done

[ "$differ" = 0 ] || fail "the second build differs from the first (kept in $work)"
rm -rf "$work"
echo "check-reproducible: both exes, all four packages and SHA256SUMS are byte for byte the same"
