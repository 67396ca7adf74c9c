#include "platform/win32/shell.h"

#include "platform/win32/com.h"
#include "platform/win32/system_library.h"
#include "platform/win32/text_convert.h"

namespace kestrevane::win32 {

INT_PTR openAddress(HWND owner, const std::string& utf8Address)
{
    using ShellExecuteAFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    const auto shellExecuteA = systemFunction<ShellExecuteAFn>(L"shell32.dll", "ShellExecuteA");
    if (!shellExecuteA) return 0;
    // The shell's documentation asks for COM before ShellExecute: its handlers may use it.
    useCom();
    const std::string address = utf8ToAnsi(utf8Address);
    return reinterpret_cast<INT_PTR>(shellExecuteA(owner, nullptr, address.c_str(), nullptr, "c:\\", SW_SHOWNORMAL));
}

} // namespace kestrevane::win32
