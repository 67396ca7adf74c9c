#include "platform/win32/message_loop.h"

#include <windows.h>

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
        // Plain windows get dialog navigation from IsDialogMessage too.
        const HWND active = GetActiveWindow();
        if (active && IsDialogMessageW(active, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

} // namespace kestrevane::win32
