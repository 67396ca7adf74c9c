#include "platform/win32/shell.h"

#include <objbase.h>

#include "platform/win32/system_library.h"
#include "platform/win32/text_convert.h"

namespace kestrevane::win32 {

namespace {

bool comInitialised = false;

// The shell's documentation asks for COM before ShellExecute: its handlers may use it.
void initialiseCom()
{
    using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID, DWORD);
    if (comInitialised) return;
    if (const auto initialise = systemFunction<CoInitializeExFn>(L"ole32.dll", "CoInitializeEx"))
        comInitialised = SUCCEEDED(initialise(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
}

} // namespace

INT_PTR openAddress(HWND owner, const std::string& utf8Address)
{
    using ShellExecuteAFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    const auto shellExecuteA = systemFunction<ShellExecuteAFn>(L"shell32.dll", "ShellExecuteA");
    if (!shellExecuteA) return 0;
    initialiseCom();
    const std::string address = utf8ToAnsi(utf8Address);
    return reinterpret_cast<INT_PTR>(shellExecuteA(owner, nullptr, address.c_str(), nullptr, "c:\\", SW_SHOWNORMAL));
}

void endShellUse()
{
    using CoUninitializeFn = void(WINAPI*)();
    if (!comInitialised) return;
    comInitialised = false;
    if (const auto uninitialise = systemFunction<CoUninitializeFn>(L"ole32.dll", "CoUninitialize")) uninitialise();
}

} // namespace kestrevane::win32
