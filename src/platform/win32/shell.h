// Opening an address with the shell's default action.
#pragma once

#include <windows.h>

#include <string>

namespace kestrevane::win32 {

// ShellExecuteA with no operation, no parameters, working directory "c:\" and show
// command 1. shell32 is loaded on first use, so a start that never opens a link does
// not pay for it. Returns what the shell returned (above 32 on success).
INT_PTR openAddress(HWND owner, const std::string& utf8Address);

} // namespace kestrevane::win32
