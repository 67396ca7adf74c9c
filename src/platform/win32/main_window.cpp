#include "platform/win32/main_window.h"

#include <utility>

#include "platform/win32/dpi.h"
#include "platform/win32/text_convert.h"
#include "platform/win32/window_icons.h"
#include "ui/main_layout.h"

namespace kestrevane::win32 {

namespace {

constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD exStyle = 0;

using ui::MainControl;

// Centres a window of `size` on the work area of the monitor it is on.
POINT centredOnMonitor(HWND hwnd, SIZE size)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    return {work.left + (work.right - work.left - size.cx) / 2, work.top + (work.bottom - work.top - size.cy) / 2};
}

} // namespace

MainWindow::~MainWindow()
{
    if (hwnd_) DestroyWindow(hwnd_);
    if (bigIcon_) DestroyIcon(bigIcon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
}

void MainWindow::create()
{
    registerWindowClass(mainWindowClass, nullptr, nullptr);
    CreateWindowExW(exStyle, mainWindowClass, widen(ui::frmmainLayout().caption).c_str(), style, CW_USEDEFAULT,
                    CW_USEDEFAULT, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr),
                    static_cast<WindowHandler*>(this));
}

void MainWindow::onCreate()
{
    form_.create(hwnd_, ui::frmmainLayout());
    applyDpi(windowDpi(hwnd_), nullptr);
}

void MainWindow::applyDpi(UINT dpi, const RECT* suggested)
{
    form_.layout(dpi);
    setWindowIcons(hwnd_, dpi, bigIcon_, smallIcon_);
    const RECT frame = windowRectForClient(form_.clientSize(dpi), style, exStyle, dpi);
    const SIZE size{frame.right - frame.left, frame.bottom - frame.top};
    const POINT at = suggested ? POINT{suggested->left, suggested->top} : centredOnMonitor(hwnd_, size);
    SetWindowPos(hwnd_, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::setCaption(const std::string& caption) { SetWindowTextW(hwnd_, widen(caption).c_str()); }

void MainWindow::setText(MainControl control, std::string text)
{
    if (control == MainControl::Text1) {
        if (text == text1_ && !text.empty()) return;
        text1_ = std::move(text);
        text1Pending_ = true;
        if (!holdText1_) flushText1();
        return;
    }
    form_.setText(static_cast<int>(control), text);
}

void MainWindow::flushText1()
{
    if (!text1Pending_) return;
    text1Pending_ = false;
    form_.setText(static_cast<int>(MainControl::Text1), text1_);
}

std::string MainWindow::text(MainControl control)
{
    // The text box is read-only, so what was set is what it holds.
    if (control == MainControl::Text1) return text1_;
    return form_.text(static_cast<int>(control));
}

void MainWindow::setFocus(MainControl control) { SetFocus(controlOf(control)); }

void MainWindow::show()
{
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    holdText1_ = false;
    flushText1();
    UpdateWindow(hwnd_);
}

void MainWindow::minimize() { ShowWindow(hwnd_, SW_MINIMIZE); }

void MainWindow::showInformation(const std::string& text, const std::string& title)
{
    MessageBoxW(hwnd_, widen(text).c_str(), widen(title).c_str(), MB_OK | MB_ICONINFORMATION);
}

void MainWindow::showAbout() { openAbout_(hwnd_); }

void MainWindow::unload()
{
    if (hwnd_) DestroyWindow(hwnd_);
}

void MainWindow::endProgram() { PostQuitMessage(0); }

void MainWindow::onActivate(WPARAM wParam)
{
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
        return;
    }
    const bool held = holdText1_;
    holdText1_ = true;
    frmmain_->Form_Activate();
    holdText1_ = held;
    if (!holdText1_) flushText1();
    if (HIWORD(wParam)) return; // minimized: no control takes the focus
    // The first control in tab order is the text box, which passes the focus on.
    SetFocus(lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : controlOf(MainControl::Text1));
}

void MainWindow::onCommand(WPARAM wParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == IDOK) {
        // Enter: no button is the default, so the dialog manager asks for IDOK;
        // press the focused button, as a dialog would.
        const HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus) && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON))
            onCommand(MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED));
        return;
    }
    if (id == IDCANCEL) { // Esc: the Exit button is the window's cancel button
        frmmain_->cmdexit_Click();
        return;
    }
    switch (static_cast<MainControl>(id - Form::idBase)) {
    case MainControl::Text1:
        if (code == EN_SETFOCUS) frmmain_->Text1_GotFocus();
        break;
    case MainControl::cmdabout:
        if (code == BN_CLICKED) frmmain_->cmdabout_Click();
        break;
    case MainControl::cmdexit:
        if (code == BN_CLICKED) frmmain_->cmdexit_Click();
        break;
    case MainControl::cmdQuickInfo:
        if (code == BN_CLICKED) frmmain_->cmdQuickInfo_Click();
        break;
    default:
        break;
    }
}

LRESULT MainWindow::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE:
        hwnd_ = hwnd;
        break;
    case WM_CREATE:
        onCreate();
        return 0;
    case WM_ACTIVATE:
        onActivate(wParam);
        return 0;
    case WM_COMMAND:
        onCommand(wParam);
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        if (HBRUSH brush = form_.colour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case wmDpiChanged:
        applyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DESTROY:
        // Closing the window ends the program, as Exit does.
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        hwnd_ = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace kestrevane::win32
