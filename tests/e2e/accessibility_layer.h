// What a screen reader reads of a window, asked of the system's accessibility layer
// (MSAA: Wine's UI Automation gives no tree of a window's children).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kestrevane::e2e {

// The names of a window's children in the order the layer gives them. Where it gives
// none, `lack` says which call answered what.
struct LayerReading {
    std::vector<std::wstring> names;
    std::wstring lack;
    std::vector<long> roles = {}; // ROLE_SYSTEM_*, 0 where the layer gives none
};
LayerReading readChildren(HWND window);

// Empty when the layer names a window by a Dynamic Annotation; otherwise what it did
// with one set on an edit of this process's own.
std::wstring annotationLack();

} // namespace kestrevane::e2e
