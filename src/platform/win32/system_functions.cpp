#include "platform/win32/system_functions.h"

#include <cstring>
#include <cwchar>
#include <iterator>

#include "platform/win32/text_convert.h"

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

bool comInitialised = false;

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
    // Windows 8, or 7 and Vista with an update; before that at least the current folder goes.
    if (const auto setDefault = system::SetDefaultDllDirectories.find()) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (const auto setDirectory = system::SetDllDirectoryW.find()) setDirectory(L"");
}

ReplacedSystemFunctions::ReplacedSystemFunctions(std::initializer_list<Replacement> replacements)
{
    for (const Replacement& r : replacements)
        if (replacedCount < static_cast<int>(std::size(replaced))) replaced[replacedCount++] = r;
}

ReplacedSystemFunctions::~ReplacedSystemFunctions() { replacedCount = 0; }

std::uint64_t tickCount64()
{
    if (const auto real = system::GetTickCount64.find()) return real();
    return GetTickCount();
}

DWORD threadId(HANDLE thread)
{
    if (const auto real = system::GetThreadId.find()) return real(thread);
    // THREAD_BASIC_INFORMATION, which no header of the API declares.
    struct BasicInformation {
        LONG exitStatus;
        void* environmentBlock;
        HANDLE process;
        HANDLE thread;
        ULONG_PTR affinityMask;
        LONG priority;
        LONG basePriority;
    } information{};
    const auto query = system::NtQueryInformationThread.find();
    if (!query || query(thread, ThreadBasicInformation, &information, sizeof information, nullptr) < 0) return 0;
    return static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(information.thread));
}

bool useCom()
{
    if (comInitialised) return true;
    if (const auto initialise = system::CoInitializeEx.find())
        comInitialised = SUCCEEDED(initialise(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    return comInitialised;
}

void endComUse()
{
    if (!comInitialised) return;
    comInitialised = false;
    if (const auto uninitialise = system::CoUninitialize.find()) uninitialise();
}

INT_PTR openAddress(HWND owner, const std::string& utf8Address)
{
    const auto shellExecuteA = system::ShellExecuteA.find();
    if (!shellExecuteA) return 0;
    // The shell's documentation asks for COM before ShellExecute: its handlers may use it.
    useCom();
    const std::string address = utf8ToAnsi(utf8Address);
    return reinterpret_cast<INT_PTR>(shellExecuteA(owner, nullptr, address.c_str(), nullptr, "c:\\", SW_SHOWNORMAL));
}

} // namespace kestrevane::win32
