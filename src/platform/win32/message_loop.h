// The message loop: dialog keys (Tab, Enter, Esc, access keys) for the active window, and
// the keys the window looks at first.
#pragma once

#include <functional>

namespace kestrevane::win32 {

// Dispatches messages while `keepGoing` holds; returns the exit code when WM_QUIT arrives
// (and posts it again for an outer loop), or 0 when `keepGoing` turned false.
int runMessageLoopWhile(const std::function<bool()>& keepGoing);

} // namespace kestrevane::win32
