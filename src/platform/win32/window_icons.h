// The program's icon at the sizes a window needs at its DPI.
#pragma once

#include <windows.h>

namespace kestrevane::win32 {

// Sets the window's big and small icons for `dpi` and destroys the previous ones.
void setWindowIcons(HWND hwnd, UINT dpi, HICON& big, HICON& small);

} // namespace kestrevane::win32
