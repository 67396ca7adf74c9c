#!/usr/bin/env bash
# Fails unless Windows XP's loader takes the exe: it imports exactly what its list says
# (tools/imports-ARCH.txt, every function of which XP has), and its PE header asks for no
# Windows newer than XP (5.1; the x86_64 exe, XP Professional x64 Edition's 5.2).
#   check-imports.sh EXE x86_64|i686
set -euo pipefail
exe=${1:?exe}; arch=${2:?x86_64 or i686}
list=$(dirname "$0")/imports-$arch.txt
case $arch in
x86_64) newest=5.2 ;;
i686) newest=5.1 ;;
*) echo "check-imports: no list for $arch" >&2; exit 2 ;;
esac
dump=$("$arch-w64-mingw32-objdump" -p "$exe")

# "dll!function", the DLL in lower case. An imported function's line: binutils 2.40 prints
# "VMA  HINT  NAME" (the hint in decimal), 2.44 "VMA  ORDINAL  HINT  NAME" (<none> for an
# import by name, the hint in hex).
imported=$(awk '/^The Import Tables/ {f = 1} /^(The Export Tables|PE File Base Relocations|The Function Table)/ {f = 0}
    f && /DLL Name:/ {dll = tolower($NF)}
    f && (/^[ \t]+[0-9a-f]+[ \t]+[0-9]+[ \t]+[A-Za-z_]/ ||
          /^[ \t]+[0-9a-f]+[ \t]+(<none>|[0-9a-f]+)[ \t]+[0-9a-f]+[ \t]+[A-Za-z_]/) {print dll "!" $NF}' <<<"$dump" |
    LC_ALL=C sort -u)
[ -n "$imported" ] || { echo "check-imports: no imported functions read from $exe" >&2; exit 1; }
listed=$(grep -v '^[[:space:]]*#' "$list" | awk 'NF {print $1}' | LC_ALL=C sort -u)
required=$(grep -v '^[[:space:]]*#' "$list" | awk 'NF && $2 != "runtime" {print $1}' | LC_ALL=C sort -u)
unlisted=$(LC_ALL=C comm -13 <(echo "$listed") <(echo "$imported"))
missing=$(LC_ALL=C comm -23 <(echo "$required") <(echo "$imported"))

failed=0
if [ -n "$unlisted" ]; then
    echo "check-imports: $exe imports what $list does not list:" "${unlisted//$'\n'/ }" >&2
    echo "  XP's loader refuses the exe if one of them is newer than XP. Add each to the list" \
         "once Microsoft's documentation shows XP has it; else look it up at run time" \
         "(src/platform/win32/system_functions.h)." >&2
    failed=1
fi
if [ -n "$missing" ]; then
    echo "check-imports: $exe does not import what $list requires:" "${missing//$'\n'/ }" >&2
    echo "  If the program no longer calls it, remove its line (comctl32.dll!InitCommonControlsEx" \
         "must stay: XP shows no controls without it)." >&2
    failed=1
fi

# What the PE header asks for: XP's loader refuses an exe that asks for a newer Windows.
version_of() {
    awk -v major="Major$1" -v minor="Minor$1" '$1 == major {a = $2} $1 == minor {b = $2}
        END {if (a != "" && b != "") print a "." b}' <<<"$dump"
}
above() { # VERSION LIMIT: whether VERSION is above LIMIT
    awk -v v="$1" -v l="$2" 'BEGIN {split(v, a, "."); split(l, b, ".")
                                    exit !(a[1] > b[1] || (a[1] == b[1] && a[2] > b[2]))}'
}
versions=
for field in OSystemVersion:os SubsystemVersion:subsystem; do
    option=${field#*:} field=${field%:*}
    version=$(version_of "$field")
    if [ -z "$version" ]; then
        echo "check-imports: no $field read from the PE header of $exe" >&2
        failed=1
    elif above "$version" "$newest"; then
        echo "check-imports: $exe asks for Windows $version in its PE header ($field), above" \
             "XP's $newest (the linker's --major-$option-version and --minor-$option-version)." >&2
        failed=1
    fi
    versions+=" $field $version"
done
[ "$failed" = 0 ] || exit 1
echo "check-imports: $exe imports exactly what $list lists ($(wc -l <<<"$imported") functions)," \
     "from $(awk -F'!' '{print $1}' <<<"$imported" | uniq | tr '\n' ' ')and asks for at most $newest:$versions"
