#include "platform/win32/main_window.h"

#include <windowsx.h>

#include <utility>

#include "platform/win32/text_convert.h"
#include "platform/win32/window_icons.h"
#include "ui/main_layout.h"

namespace kestrevane::win32 {

namespace {

constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD exStyle = 0;

using ui::MainControl;

} // namespace

MainWindow::MainWindow(std::function<void(HWND owner)> openAbout)
    : FormWindow(ui::frmmainLayout(), mainWindowClass, style, exStyle), openAbout_(std::move(openAbout))
{
}

MainWindow::~MainWindow()
{
    // The window goes before its icons.
    if (hwnd_) DestroyWindow(hwnd_);
    if (bigIcon_) DestroyIcon(bigIcon_);
    if (smallIcon_) DestroyIcon(smallIcon_);
}

void MainWindow::create() { createWindow(nullptr); }

POINT MainWindow::placeWindow(SIZE size)
{
    // Centred on the work area of the monitor it is on.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return centredIn(monitor.rcWork, size);
}

void MainWindow::onDpiApplied(UINT dpi) { setWindowIcons(hwnd_, dpi, bigIcon_, smallIcon_); }

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

void MainWindow::restoreFocus(MainControl first) { FormWindow::restoreFocus(controlOf(first)); }

void MainWindow::setColours(ui::FormColours colours) { applyColours(std::move(colours)); }

void MainWindow::setAccessibleName(MainControl control, const std::string& name)
{
    accessibleNames_.nameOnRequest(controlOf(control), widen(name));
}

void MainWindow::scrollLog(ui::LogScroll where)
{
    WORD request = SB_PAGEDOWN;
    switch (where) {
    case ui::LogScroll::pageUp: request = SB_PAGEUP; break;
    case ui::LogScroll::pageDown: request = SB_PAGEDOWN; break;
    case ui::LogScroll::top: request = SB_TOP; break;
    case ui::LogScroll::bottom: request = SB_BOTTOM; break;
    }
    SendMessageW(controlOf(MainControl::Text1), WM_VSCROLL, MAKEWPARAM(request, 0), 0);
}

void MainWindow::show()
{
    // As its starter asks (a shortcut's "Run: Minimized", say), which Windows does at the
    // first call whatever the program gives, and Wine only when told.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    ShowWindow(hwnd_, (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWNORMAL);
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

void MainWindow::onActivate()
{
    const bool held = holdText1_;
    holdText1_ = true;
    frmmain_->Form_Activate();
    holdText1_ = held;
    if (!holdText1_) flushText1();
}

void MainWindow::onCommand(int id, int code)
{
    if (id == IDOK) {
        // Enter: no button is the default, so the dialog manager asks for IDOK;
        // press the focused button, as a dialog would.
        const HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus) && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON))
            onCommand(GetDlgCtrlID(focus), BN_CLICKED);
        return;
    }
    if (id == IDCANCEL) { // Esc
        frmmain_->escapePressed();
        return;
    }
    const auto control = static_cast<MainControl>(id - ui::controlIdBase);
    if (control == MainControl::Text1 && code == EN_SETFOCUS) frmmain_->Text1_GotFocus();
    if (code != BN_CLICKED) return;
    if (control == MainControl::cmdabout) frmmain_->cmdabout_Click();
    if (control == MainControl::cmdexit) frmmain_->cmdexit_Click();
    if (control == MainControl::cmdQuickInfo) frmmain_->cmdQuickInfo_Click();
}

void MainWindow::onClose() { frmmain_->Form_Unload(); }

bool MainWindow::previewKey(WPARAM key)
{
    ui::Key pressed = ui::Key::other;
    switch (key) {
    case VK_PRIOR: pressed = ui::Key::pageUp; break;
    case VK_NEXT: pressed = ui::Key::pageDown; break;
    case VK_HOME: pressed = ui::Key::home; break;
    case VK_END: pressed = ui::Key::end; break;
    default: return false;
    }
    return frmmain_->Form_KeyDown(pressed, GetKeyState(VK_CONTROL) < 0);
}

bool MainWindow::onMouseWheel(WPARAM wParam, LPARAM lParam)
{
    // Before Windows 10 the wheel goes to the focused control, a button, which passes it
    // up here; the text box gets it when the pointer is over it. It may pass it up again
    // itself (with Ctrl or Shift held), so only once.
    const HWND text1 = controlOf(MainControl::Text1);
    RECT box{};
    GetWindowRect(text1, &box);
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (forwardingWheel_ || !PtInRect(&box, at)) return false;
    forwardingWheel_ = true;
    SendMessageW(text1, WM_MOUSEWHEEL, wParam, lParam);
    forwardingWheel_ = false;
    return true;
}

LRESULT MainWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled)
{
    switch (message) {
    case WM_MOUSEWHEEL:
        if (onMouseWheel(wParam, lParam)) return 0;
        break;
    default:
        break;
    }
    handled = false;
    return 0;
}

} // namespace kestrevane::win32
