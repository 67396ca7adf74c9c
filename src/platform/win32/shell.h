// Opening an address with the shell's default action.
#pragma once

#include <windows.h>

#include <string>

namespace kestrevane::win32 {

// ShellExecuteA with no operation, no parameters, working directory "c:\" and show
// command 1. shell32 (and COM, which the shell's handlers may need: useCom()) are set up
// on first use, so a start that never opens a link does not pay for them. Returns what
// the shell returned (above 32 on success; 0 when there is no shell).
INT_PTR openAddress(HWND owner, const std::string& utf8Address);

} // namespace kestrevane::win32
