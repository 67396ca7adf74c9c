#include "platform/win32/com.h"

#include <windows.h>

#include <objbase.h>

#include "platform/win32/system_library.h"

namespace kestrevane::win32 {

namespace {

bool comInitialised = false;

} // namespace

bool useCom()
{
    using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID, DWORD);
    if (comInitialised) return true;
    if (const auto initialise = systemFunction<CoInitializeExFn>(L"ole32.dll", "CoInitializeEx"))
        comInitialised = SUCCEEDED(initialise(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    return comInitialised;
}

void endComUse()
{
    using CoUninitializeFn = void(WINAPI*)();
    if (!comInitialised) return;
    comInitialised = false;
    if (const auto uninitialise = systemFunction<CoUninitializeFn>(L"ole32.dll", "CoUninitialize")) uninitialise();
}

} // namespace kestrevane::win32
