#!/usr/bin/env bash
# Fails when the exe imports a DLL that Windows does not ship (a C++ runtime, say).
#   check-imports.sh EXE x86_64|i686
set -euo pipefail
exe=${1:?exe}; arch=${2:?x86_64 or i686}
allowed='^(kernel32|user32|gdi32|advapi32|oleaut32|ole32|shell32|comctl32|msvcrt|ntdll|version)\.dll$'
dlls=$("$arch-w64-mingw32-objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr '[:upper:]' '[:lower:]')
[ -n "$dlls" ] || { echo "check-imports: no imports read from $exe" >&2; exit 1; }
bad=$(echo "$dlls" | grep -vE "$allowed" || true)
if [ -n "$bad" ]; then
    echo "check-imports: $exe imports DLLs that are not part of Windows:" >&2
    echo "$bad" >&2
    exit 1
fi
# Windows XP's loader refuses an exe that imports any function it lacks; newer ones
# must be looked up at run time. These are the newer functions a C++ runtime or a
# Win32 program is likely to reach for.
newer_than_xp='GetTickCount64 InitializeSRWLock AcquireSRWLockExclusive AcquireSRWLockShared
ReleaseSRWLockExclusive ReleaseSRWLockShared TryAcquireSRWLockExclusive TryAcquireSRWLockShared
InitializeConditionVariable SleepConditionVariableCS SleepConditionVariableSRW WakeConditionVariable
WakeAllConditionVariable InitOnceExecuteOnce InitOnceBeginInitialize InitOnceComplete FlsAlloc FlsFree
FlsGetValue FlsSetValue GetFileInformationByHandleEx SetFileInformationByHandle CreateSymbolicLinkW
GetFinalPathNameByHandleW CreateFile2 GetLocaleInfoEx GetDateFormatEx GetTimeFormatEx LCIDToLocaleName
LocaleNameToLCID GetUserDefaultLocaleName EnumSystemLocalesEx CompareStringEx
GetSystemTimePreciseAsFileTime CreateEventExW CreateMutexExW CreateSemaphoreExW WaitOnAddress
GetCurrentProcessorNumber QueryFullProcessImageNameW RegGetValueW SetProcessDPIAware
SetProcessDpiAwarenessContext GetDpiForWindow GetDpiForSystem AdjustWindowRectExForDpi
SystemParametersInfoForDpi EnableNonClientDpiScaling GetSystemMetricsForDpi ChangeWindowMessageFilter
ChangeWindowMessageFilterEx TaskDialog TaskDialogIndirect LoadIconMetric LoadIconWithScaleDown
AddDllDirectory SetDefaultDllDirectories GetThreadId GetProcessIdOfThread WakeByAddressSingle
WakeByAddressAll rand_s'
# An imported function's line: binutils 2.40 prints "VMA  HINT  NAME" (the hint in
# decimal), 2.44 "VMA  ORDINAL  HINT  NAME" (<none> for an import by name, hint in hex).
functions=$("$arch-w64-mingw32-objdump" -p "$exe" |
    awk '/^The Import Tables/ {f = 1} /^(The Export Tables|PE File Base Relocations|The Function Table)/ {f = 0}
         f && (/^[ \t]+[0-9a-f]+[ \t]+[0-9]+[ \t]+[A-Za-z_]/ ||
               /^[ \t]+[0-9a-f]+[ \t]+(<none>|[0-9a-f]+)[ \t]+[0-9a-f]+[ \t]+[A-Za-z_]/) {print $NF}')
[ -n "$functions" ] || { echo "check-imports: no imported functions read from $exe" >&2; exit 1; }
newer=$(echo "$functions" | grep -xF -f <(echo "$newer_than_xp" | tr ' ' '\n') || true)
if [ -n "$newer" ]; then
    echo "check-imports: $exe imports functions Windows XP lacks:" "${newer//$'\n'/ }" >&2
    exit 1
fi
echo "check-imports: $exe imports only system DLLs, no function newer than Windows XP:" "${dlls//$'\n'/ }"
