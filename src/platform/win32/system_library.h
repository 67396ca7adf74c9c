// Functions the exe does not import: those newer than Windows XP, and those of DLLs that
// only some starts need. Each DLL is loaded from the system folder, never by bare name
// through the search order, where a planted copy beside the exe could stand in for it.
#pragma once

#include <windows.h>

#include <initializer_list>

namespace kestrevane::win32 {

// The DLL from the system folder, loaded once; null when the system has none. The name
// must outlive the program (a literal).
HMODULE systemLibrary(const wchar_t* dllName);

// The function, or null where the system lacks it: the caller falls back.
void* systemProcedure(const wchar_t* dllName, const char* functionName);

template <typename Function>
Function systemFunction(const wchar_t* dllName, const char* functionName)
{
    return reinterpret_cast<Function>(systemProcedure(dllName, functionName));
}

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

} // namespace kestrevane::win32
