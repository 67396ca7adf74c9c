// Registers a window class whose procedure forwards to a C++ object.
#pragma once

#include <windows.h>

namespace kestrevane::win32 {

// Objects that own a window derive from this; the window keeps a pointer to them.
class WindowHandler {
public:
    virtual ~WindowHandler() = default;
    virtual LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

// Registers `className` once; CreateWindowEx's last argument must be the WindowHandler*.
void registerWindowClass(const wchar_t* className);

} // namespace kestrevane::win32
