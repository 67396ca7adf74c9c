#include "platform/win32/system_library.h"

#include <cstring>
#include <cwchar>
#include <iterator>

namespace kestrevane::win32 {

namespace {

// Plain tables, no constructors: the runtime's own imports may come here before main.
struct Loaded {
    const wchar_t* name;
    HMODULE module;
};
Loaded loaded[8];
int loadedCount = 0;

ReplacedSystemFunctions::Replacement replaced[16];
int replacedCount = 0;

const ReplacedSystemFunctions::Replacement* replacementOf(const char* functionName)
{
    for (int i = 0; i < replacedCount; ++i)
        if (std::strcmp(replaced[i].name, functionName) == 0) return &replaced[i];
    return nullptr;
}

HMODULE loadFromSystemFolder(const wchar_t* dllName)
{
    wchar_t path[MAX_PATH];
    const UINT n = GetSystemDirectoryW(path, MAX_PATH);
    const std::size_t nameLength = std::wcslen(dllName);
    if (n == 0 || n + 1 + nameLength >= MAX_PATH) return nullptr;
    path[n] = L'\\';
    std::wmemcpy(path + n + 1, dllName, nameLength + 1);
    return LoadLibraryW(path);
}

} // namespace

HMODULE systemLibrary(const wchar_t* dllName)
{
    for (int i = 0; i < loadedCount; ++i)
        if (_wcsicmp(loaded[i].name, dllName) == 0) return loaded[i].module;
    const HMODULE module = loadFromSystemFolder(dllName);
    if (module && loadedCount < static_cast<int>(std::size(loaded))) loaded[loadedCount++] = {dllName, module};
    return module;
}

void* systemProcedure(const wchar_t* dllName, const char* functionName)
{
    if (const auto* replacement = replacementOf(functionName)) return replacement->standIn;
    const HMODULE module = systemLibrary(dllName);
    return module ? reinterpret_cast<void*>(GetProcAddress(module, functionName)) : nullptr;
}

void restrictDllSearch()
{
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
    constexpr DWORD searchSystem32 = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
    // Windows 8, or 7 and Vista with an update; before that at least the current folder goes.
    if (auto setDefault = systemFunction<SetDefaultDllDirectoriesFn>(L"kernel32.dll", "SetDefaultDllDirectories"))
        setDefault(searchSystem32);
    if (auto setDirectory = systemFunction<SetDllDirectoryFn>(L"kernel32.dll", "SetDllDirectoryW")) setDirectory(L"");
}

ReplacedSystemFunctions::ReplacedSystemFunctions(std::initializer_list<Replacement> replacements)
{
    for (const Replacement& r : replacements)
        if (replacedCount < static_cast<int>(std::size(replaced))) replaced[replacedCount++] = r;
}

ReplacedSystemFunctions::~ReplacedSystemFunctions() { replacedCount = 0; }

} // namespace kestrevane::win32
