// Registers a window class whose procedure forwards to a C++ object.
#pragma once

#include <windows.h>

namespace kestrevane::win32 {

// Objects that own a window derive from this; the window keeps a pointer to them.
class WindowHandler {
public:
    virtual ~WindowHandler() = default;
    virtual LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // A key pressed while this window is active, before the focused control gets it; true
    // when the window used it.
    virtual bool previewKey(WPARAM) { return false; }
};

// Registers `className` once; CreateWindowEx's last argument must be the WindowHandler*.
void registerWindowClass(const wchar_t* className);

// The handler of a window of a class registered here; null for any other window.
WindowHandler* handlerOf(HWND hwnd);

} // namespace kestrevane::win32
