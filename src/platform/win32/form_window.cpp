#include "platform/win32/form_window.h"

#include <algorithm>
#include <cwchar>
#include <utility>

#include "platform/win32/dpi.h"
#include "platform/win32/text_convert.h"

namespace kestrevane::win32 {

FormWindow::~FormWindow()
{
    if (hwnd_) DestroyWindow(hwnd_);
}

void FormWindow::createWindow(HWND owner)
{
    // The main window's icons follow its DPI, so the class carries none.
    registerWindowClass(className_);
    CreateWindowExW(exStyle_, className_, widen(design_.caption).c_str(), style_, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                    owner, nullptr, GetModuleHandleW(nullptr), static_cast<WindowHandler*>(this));
}

namespace {

// WM_SETTINGCHANGE for the message font: from SystemParametersInfo, or from a program
// that names only the section it changed.
bool messageFontChanged(WPARAM wParam, LPARAM lParam)
{
    if (wParam == SPI_SETNONCLIENTMETRICS) return true;
    const auto* section = reinterpret_cast<const wchar_t*>(lParam);
    return wParam == 0 && section && std::wcscmp(section, L"WindowMetrics") == 0;
}

} // namespace

SIZE FormWindow::layOut(UINT dpi)
{
    form_.layout(dpi);
    const RECT frame = windowRectForClient(form_.clientSize(), style_, exStyle_, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void FormWindow::applyDpi(UINT dpi, const RECT* suggested)
{
    const SIZE size = layOut(dpi);
    onDpiApplied(dpi);
    const POINT at = suggested ? POINT{suggested->left, suggested->top} : placeWindow(size);
    SetWindowPos(hwnd_, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::applyMessageFont()
{
    const SIZE size = layOut(form_.dpi());
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (IsIconic(hwnd_) && GetWindowPlacement(hwnd_, &placement)) {
        // Minimized: the place it is restored to grows from its top-left corner.
        RECT& normal = placement.rcNormalPosition;
        normal.right = normal.left + size.cx;
        normal.bottom = normal.top + size.cy;
        placement.flags = 0;
        placement.showCmd = SW_SHOWMINNOACTIVE;
        SetWindowPlacement(hwnd_, &placement);
        return;
    }
    RECT now{};
    GetWindowRect(hwnd_, &now);
    POINT at{now.left, now.top};
    // Grown past its monitor's work area, it moves back into it, but never above or left of it.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        at.x = std::max(std::min(at.x, work.right - size.cx), work.left);
        at.y = std::max(std::min(at.y, work.bottom - size.cy), work.top);
    }
    SetWindowPos(hwnd_, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    // The lines and the picture are painted by the window itself, at their new places.
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void FormWindow::applyColours(ui::FormColours colours)
{
    form_.setColours(std::move(colours));
    if (hwnd_) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT FormWindow::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE:
        hwnd_ = hwnd;
        break;
    case WM_CREATE: {
        form_.create(hwnd_, design_);
        // A window shows at its owner's DPI, which it does not have yet itself.
        const HWND owner = GetWindow(hwnd_, GW_OWNER);
        applyDpi(windowDpi(owner ? owner : hwnd_), nullptr);
        return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
        if (HBRUSH brush = form_.colour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_SYSCOLORCHANGE:
        // Top-level windows pass it on: the controls of Common Controls 6 keep brushes of their own.
        for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
        onSystemColoursChanged();
        return 0;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETHIGHCONTRAST) onSystemColoursChanged();
        if (messageFontChanged(wParam, lParam)) applyMessageFont();
        break;
    case wmDpiChanged:
        applyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_DRAWITEM:
        return form_.drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            rememberFocus(GetFocus());
            return 0;
        }
        onActivate();
        // Minimized, it gets the focus when restored (WM_SETFOCUS, WM_SIZE).
        if (!HIWORD(wParam)) onFocus();
        return 0;
    case WM_SETFOCUS:
        // Restoring a minimized window, for one, gives the frame the focus.
        rememberFocus(reinterpret_cast<HWND>(wParam));
        if (!IsIconic(hwnd_)) onFocus();
        return 0;
    case WM_SYSCOMMAND:
        // Minimizing takes the focus away before it deactivates the window.
        if ((wParam & 0xFFF0) == SC_MINIMIZE) rememberFocus(GetFocus());
        break;
    case WM_SIZE:
        // Restored, active, with the frame or nothing focused: the system may tell no more.
        if (wParam == SIZE_RESTORED && GetActiveWindow() == hwnd_ && (!GetFocus() || GetFocus() == hwnd_)) onFocus();
        break;
    case WM_CLOSE:
        onClose();
        return 0;
    case WM_NCDESTROY:
        hwnd_ = nullptr;
        break;
    default: {
        bool handled = true;
        const LRESULT result = onMessage(message, wParam, lParam, handled);
        if (handled) return result;
        break;
    }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void FormWindow::rememberFocus(HWND focus)
{
    if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
}

void FormWindow::restoreFocus(HWND first)
{
    // A remembered control that has gone or was disabled since gives way to the first.
    const bool usable = lastFocus_ && IsChild(hwnd_, lastFocus_) && IsWindowEnabled(lastFocus_);
    SetFocus(usable ? lastFocus_ : first);
}

POINT centredIn(const RECT& area, SIZE size)
{
    return {area.left + (area.right - area.left - size.cx) / 2, area.top + (area.bottom - area.top - size.cy) / 2};
}

} // namespace kestrevane::win32
