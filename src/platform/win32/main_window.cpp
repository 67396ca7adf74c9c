#include "platform/win32/main_window.h"

#include <windowsx.h>

#include <utility>

#include "platform/win32/text_convert.h"
#include "resource_ids.h"

namespace kestrevane::win32 {

void LogBox::setText(std::string text)
{
    if (text == text_ && !text.empty()) return;
    text_ = std::move(text);
    waiting_ = true;
    if (box_) write();
}

void LogBox::show(HWND box)
{
    box_ = box;
    if (waiting_) write();
}

void LogBox::write()
{
    waiting_ = false;
    SetWindowTextW(box_, widen(text_).c_str());
}

namespace {

constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD exStyle = 0;

using ui::MainControl;

// Sets the window's big and small icons for `dpi` and destroys the previous ones.
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

} // namespace

MainWindow::MainWindow(sysinfo::SystemQuery& system, startup::Clock& clock, ui::Appearance& appearance)
    : FormWindow(ui::frmmainLayout(), mainWindowClass, style, exStyle), frmmain_(*this, system, appearance),
      clock_(clock), appearance_(appearance)
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
    if (control == MainControl::Text1)
        text1_.setText(std::move(text));
    else
        FormWindow::setText(static_cast<int>(control), text);
}

std::string MainWindow::text(MainControl control)
{
    // The text box is read-only, so what was set is what it holds.
    if (control == MainControl::Text1) return text1_.text();
    return FormWindow::text(static_cast<int>(control));
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
    // The text, cleaned by now, goes into the box once.
    text1_.show(controlOf(MainControl::Text1));
    UpdateWindow(hwnd_);
}

void MainWindow::showInformation(const std::string& text, const std::string& title)
{
    MessageBoxW(hwnd_, widen(text).c_str(), widen(title).c_str(), MB_OK | MB_ICONINFORMATION);
}

void MainWindow::showAbout()
{
    runAboutWindow(hwnd_, clock_, appearance_, [this] { ShowWindow(hwnd_, SW_MINIMIZE); });
}

void MainWindow::unload()
{
    if (hwnd_) DestroyWindow(hwnd_);
}

void MainWindow::endProgram() { PostQuitMessage(0); }

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        int code = HIWORD(wParam);
        if (id == IDCANCEL) { // Esc
            frmmain_.escapePressed();
            return 0;
        }
        if (id == IDOK) { // Enter
            id = focusedButton();
            code = BN_CLICKED;
        }
        const auto control = static_cast<MainControl>(id - ui::controlIdBase);
        if (control == MainControl::Text1 && code == EN_SETFOCUS) frmmain_.Text1_GotFocus();
        if (code != BN_CLICKED) return 0;
        if (control == MainControl::cmdabout) frmmain_.cmdabout_Click();
        if (control == MainControl::cmdexit) frmmain_.cmdexit_Click();
        if (control == MainControl::cmdQuickInfo) frmmain_.cmdQuickInfo_Click();
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) frmmain_.Form_Activate();
        break;
    case WM_MOUSEWHEEL:
        if (wheelOverLog(wParam, lParam)) return 0;
        break;
    default:
        break;
    }
    return handleCommon(frmmain_, message, wParam, lParam);
}

int MainWindow::focusedButton() const
{
    // No button is the default, so the dialog manager asks for IDOK; the focused button
    // is pressed, as in a dialog.
    const HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus) && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON))
        return GetDlgCtrlID(focus);
    return 0;
}

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
    return frmmain_.Form_KeyDown(pressed, GetKeyState(VK_CONTROL) < 0);
}

bool MainWindow::wheelOverLog(WPARAM wParam, LPARAM lParam)
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

} // namespace kestrevane::win32
