#include "platform/win32/window_icons.h"

#include "resource_ids.h"

namespace kestrevane::win32 {

void setWindowIcons(HWND hwnd, UINT dpi, HICON& big, HICON& small)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const int d = static_cast<int>(dpi);
    const HICON newBig = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_KESTREVANE), IMAGE_ICON,
                                                       MulDiv(32, d, 96), MulDiv(32, d, 96), 0));
    const HICON newSmall = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_KESTREVANE), IMAGE_ICON,
                                                         MulDiv(16, d, 96), MulDiv(16, d, 96), 0));
    SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(newBig));
    SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(newSmall));
    if (big) DestroyIcon(big);
    if (small) DestroyIcon(small);
    big = newBig;
    small = newSmall;
}

} // namespace kestrevane::win32
