#include "platform/win32/about_window.h"

#include "platform/win32/dpi.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/shell.h"
#include "platform/win32/text_convert.h"
#include "resource_ids.h"
#include "ui/about_layout.h"

namespace kestrevane::win32 {

namespace {

constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME;

using ui::AboutControl;

} // namespace

AboutWindow::~AboutWindow()
{
    if (hwnd_) DestroyWindow(hwnd_);
}

void AboutWindow::runModal(HWND owner)
{
    owner_ = owner;
    hand_ = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_POINTER));
    registerWindowClass(aboutWindowClass, nullptr, nullptr);
    CreateWindowExW(exStyle, aboutWindowClass, widen(ui::frmaboutLayout().caption).c_str(), style, CW_USEDEFAULT,
                    CW_USEDEFAULT, 0, 0, owner, nullptr, GetModuleHandleW(nullptr), static_cast<WindowHandler*>(this));
    if (!hwnd_) return;
    form_.create(hwnd_, ui::frmaboutLayout());
    frmabout_.Form_Load();
    applyDpi(windowDpi(owner), nullptr);

    EnableWindow(owner, FALSE);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetFocus(form_.control(static_cast<int>(AboutControl::cmdok)));
    runMessageLoopWhile([this] { return hwnd_ != nullptr; });
    // A window closed another way than unload() still gives the owner back.
    EnableWindow(owner, TRUE);
}

void AboutWindow::applyDpi(UINT dpi, const RECT* suggested)
{
    form_.layout(dpi);
    const RECT frame = windowRectForClient(form_.clientSize(dpi), style, exStyle, dpi);
    const SIZE size{frame.right - frame.left, frame.bottom - frame.top};
    POINT at{};
    if (suggested) {
        at = {suggested->left, suggested->top};
    } else {
        RECT ownerRect{};
        GetWindowRect(owner_, &ownerRect);
        at = {ownerRect.left + (ownerRect.right - ownerRect.left - size.cx) / 2,
              ownerRect.top + (ownerRect.bottom - ownerRect.top - size.cy) / 2};
    }
    SetWindowPos(hwnd_, nullptr, at.x, at.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void AboutWindow::setText(AboutControl control, const std::string& text)
{
    form_.setText(static_cast<int>(control), text);
}

void AboutWindow::setLinkPointerToHand()
{
    handPointer_ = true;
    SetCursor(hand_);
}

void AboutWindow::openAddress(const std::string& address) { win32::openAddress(hwnd_, address); }

void AboutWindow::unload()
{
    if (!hwnd_) return;
    // The owner is enabled before this window goes, so the activation returns to it
    // and not to another program.
    EnableWindow(owner_, TRUE);
    DestroyWindow(hwnd_);
}

void AboutWindow::onCommand(WPARAM wParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == IDOK || id == IDCANCEL) { // Enter and Esc
        frmabout_.cmdok_Click();
        return;
    }
    switch (static_cast<AboutControl>(id - Form::idBase)) {
    case AboutControl::cmdok:
        if (code == BN_CLICKED) frmabout_.cmdok_Click();
        break;
    case AboutControl::lblurl:
        if (code == STN_CLICKED) frmabout_.lblurl_Click();
        break;
    default:
        break;
    }
}

void AboutWindow::onPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    form_.paintLines(dc);
    // The hand picture sits at the bottom edge, nearly all of it below the client area.
    const ui::ImageSpec& image = ui::imghandLayout();
    const int d = static_cast<int>(form_.dpi());
    DrawIconEx(dc, ui::twipsToPixels(image.left, d), ui::twipsToPixels(image.top, d), hand_,
               ui::twipsToPixels(image.width, d), ui::twipsToPixels(image.height, d), 0, nullptr, DI_NORMAL);
    EndPaint(hwnd_, &paint);
}

LRESULT AboutWindow::handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE:
        hwnd_ = hwnd;
        break;
    case WM_COMMAND:
        onCommand(wParam);
        return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == form_.control(static_cast<int>(AboutControl::lblurl))) {
            frmabout_.lblurl_MouseMove();
            if (handPointer_) return TRUE;
        }
        break;
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (HBRUSH brush = form_.colour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) SetFocus(form_.control(static_cast<int>(AboutControl::cmdok)));
        return 0;
    case wmDpiChanged:
        applyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_CLOSE:
        unload();
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
