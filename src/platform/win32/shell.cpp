#include "platform/win32/shell.h"

#include "platform/win32/text_convert.h"

namespace kestrevane::win32 {

INT_PTR openAddress(HWND owner, const std::string& utf8Address)
{
    using ShellExecuteAFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    static const auto shellExecuteA = [] {
        HMODULE shell32 = LoadLibraryW(L"shell32.dll");
        return shell32 ? reinterpret_cast<ShellExecuteAFn>(
                             reinterpret_cast<void*>(GetProcAddress(shell32, "ShellExecuteA")))
                       : nullptr;
    }();
    if (!shellExecuteA) return 0;
    const std::string address = utf8ToAnsi(utf8Address);
    return reinterpret_cast<INT_PTR>(shellExecuteA(owner, nullptr, address.c_str(), nullptr, "c:\\", SW_SHOWNORMAL));
}

} // namespace kestrevane::win32
