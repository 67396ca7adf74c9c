#!/usr/bin/env bash
# Fails when the exe imports a DLL that Windows does not ship (a C++ runtime, say).
#   check-imports.sh EXE x86_64|i686
set -euo pipefail
exe=${1:?exe}; arch=${2:?x86_64 or i686}
allowed='^(kernel32|user32|gdi32|advapi32|oleaut32|ole32|shell32|comctl32|msvcrt|ntdll|version)\.dll$'
dlls=$("$arch-w64-mingw32-objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$dlls" ] || { echo "check-imports: no imports read from $exe" >&2; exit 1; }
bad=$(echo "$dlls" | grep -vE "$allowed" || true)
if [ -n "$bad" ]; then
    echo "check-imports: $exe imports DLLs that are not part of Windows:" >&2
    echo "$bad" >&2
    exit 1
fi
echo "check-imports: $exe imports only system DLLs:" $dlls
