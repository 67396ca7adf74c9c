// Every function the exe looks up at run time instead of importing it: those newer than
// Windows XP, and those of DLLs that only some starts need. Each DLL is loaded from the
// system folder, never by bare name through the search order, where a planted copy beside
// the exe could stand in for it.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>
#include <shellscalingapi.h>
#include <winternl.h>

#include <cstdint>
#include <initializer_list>
#include <string>

namespace kestrevane::win32 {

// Written by hand, as no header declares it (Windows 7 with KB976038, 7 SP1 and later).
using GetProcessUserModeExceptionPolicyType = BOOL(WINAPI*)(LPDWORD flags);
// Written by hand, as no header declares it (Windows 7 with KB976038, 7 SP1 and later).
using SetProcessUserModeExceptionPolicyType = BOOL(WINAPI*)(DWORD flags);

// The table, one line a function: its DLL, its name, and its type as its header declares
// it (as written above where no header does). A new lookup is a new line here.
#define KESTREVANE_SYSTEM_FUNCTIONS(X)                                                                   \
    X(L"kernel32.dll", GetTickCount64, decltype(&::GetTickCount64))                                      \
    X(L"kernel32.dll", GetThreadId, decltype(&::GetThreadId))                                            \
    X(L"kernel32.dll", SetDefaultDllDirectories, decltype(&::SetDefaultDllDirectories))                  \
    X(L"kernel32.dll", SetDllDirectoryW, decltype(&::SetDllDirectoryW))                                  \
    X(L"kernel32.dll", GetProcessUserModeExceptionPolicy, GetProcessUserModeExceptionPolicyType)         \
    X(L"kernel32.dll", SetProcessUserModeExceptionPolicy, SetProcessUserModeExceptionPolicyType)         \
    X(L"ntdll.dll", NtQueryInformationThread, decltype(&::NtQueryInformationThread))                     \
    X(L"user32.dll", SetProcessDpiAwarenessContext, decltype(&::SetProcessDpiAwarenessContext))          \
    X(L"user32.dll", SetProcessDPIAware, decltype(&::SetProcessDPIAware))                                \
    X(L"user32.dll", GetDpiForWindow, decltype(&::GetDpiForWindow))                                      \
    X(L"user32.dll", AdjustWindowRectExForDpi, decltype(&::AdjustWindowRectExForDpi))                    \
    X(L"user32.dll", SystemParametersInfoForDpi, decltype(&::SystemParametersInfoForDpi))                \
    X(L"shcore.dll", GetDpiForMonitor, decltype(&::GetDpiForMonitor))                                    \
    X(L"ole32.dll", CoInitializeEx, decltype(&::CoInitializeEx))                                         \
    X(L"ole32.dll", CoUninitialize, decltype(&::CoUninitialize))                                         \
    X(L"ole32.dll", CoCreateInstance, decltype(&::CoCreateInstance))                                     \
    X(L"oleaut32.dll", VarDateFromStr, decltype(&::VarDateFromStr))                                      \
    X(L"oleaut32.dll", VariantTimeToSystemTime, decltype(&::VariantTimeToSystemTime))                    \
    X(L"shell32.dll", ShellExecuteA, decltype(&::ShellExecuteA))

// The DLL from the system folder, loaded once; null when the system has none. The name
// must outlive the program (a literal).
HMODULE systemLibrary(const wchar_t* dllName);

// The function, or null where the system lacks it.
void* systemProcedure(const wchar_t* dllName, const char* functionName);

// One entry of the table. Looked up at each use, not once at the start: a DLL that only
// some starts need is loaded only by those, and a test's replacement takes effect at once.
template <typename Type>
struct SystemFunction {
    const wchar_t* dll;
    const char* name;

    // The function, or null where the system lacks it: the caller falls back.
    Type find() const { return reinterpret_cast<Type>(systemProcedure(dll, name)); }
};

namespace system {
#define KESTREVANE_SYSTEM_FUNCTION(dll, name, type) inline constexpr SystemFunction<type> name{dll, #name};
KESTREVANE_SYSTEM_FUNCTIONS(KESTREVANE_SYSTEM_FUNCTION)
#undef KESTREVANE_SYSTEM_FUNCTION
} // namespace system

// From now on DLLs are looked for only in the system folder (and not in the current
// one), where the system allows it; called first thing in the program.
void restrictDllSearch();

// For tests: while one lives, lookups of the named functions give the stand-ins instead,
// and a null stand-in makes the function look missing, as on an older system: so that
// each fallback can be run, and seen to call what it should.
class ReplacedSystemFunctions {
public:
    struct Replacement {
        const char* name;
        void* standIn;
    };
    explicit ReplacedSystemFunctions(std::initializer_list<Replacement> replacements);
    ReplacedSystemFunctions(const ReplacedSystemFunctions&) = delete;
    ReplacedSystemFunctions& operator=(const ReplacedSystemFunctions&) = delete;
    ~ReplacedSystemFunctions();
};

// What stands in where the system lacks a function of the table.

// Milliseconds since the system started: GetTickCount64 where the system has it (Vista
// on); before that GetTickCount, which wraps after 49.7 days.
std::uint64_t tickCount64();

// GetThreadId where the system has it (Vista on); on XP the thread's basic information
// from ntdll. 0 for a handle that is no thread's.
DWORD threadId(HANDLE thread);

// Sets COM up on this thread, in a single-threaded apartment, unless that is done; true
// when it is. Where ole32 lacks it, false.
bool useCom();

// Releases COM when useCom() set it up; at the program's end, on the same thread.
void endComUse();

// ShellExecuteA with no operation, no parameters, working directory "c:\" and show
// command 1. shell32 (and COM, which the shell's handlers may need: useCom()) are set up
// on first use, so a start that never opens a link does not pay for them. Returns what
// the shell returned (above 32 on success; 0 when there is no shell).
INT_PTR openAddress(HWND owner, const std::string& utf8Address);

} // namespace kestrevane::win32
