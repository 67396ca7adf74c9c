#include "platform/win32/message_loop.h"

#include <windows.h>

#include "platform/win32/window_class.h"

namespace kestrevane::win32 {

int runMessageLoopWhile(const std::function<bool()>& keepGoing)
{
    MSG msg;
    while (keepGoing()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            const int code = static_cast<int>(msg.wParam);
            PostQuitMessage(code);
            return code;
        }
        if (got < 0) return 1;
        // A window sees the keys pressed in it before its focused control does.
        const HWND active = GetActiveWindow();
        if (active && msg.message == WM_KEYDOWN && (msg.hwnd == active || IsChild(active, msg.hwnd))) {
            WindowHandler* handler = handlerOf(active);
            if (handler && handler->previewKey(msg.wParam)) continue;
        }
        // Plain windows get dialog navigation from IsDialogMessage too.
        if (active && IsDialogMessageW(active, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

} // namespace kestrevane::win32
