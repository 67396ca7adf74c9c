#include "platform/win32/about_window.h"

#include <oleacc.h>

#include <utility>

#include "platform/win32/message_loop.h"
#include "platform/win32/system_functions.h"
#include "platform/win32/text_convert.h"
#include "resource_ids.h"
#include "ui/about_layout.h"

namespace kestrevane::win32 {

namespace {

constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME;

using ui::AboutControl;

} // namespace

AboutWindow::AboutWindow(startup::Clock& clock, ui::Appearance& appearance, std::function<void()> minimizeMain)
    : FormWindow(ui::frmaboutLayout(), aboutWindowClass, style, exStyle),
      frmabout_(*this, clock, appearance, std::move(minimizeMain))
{
}

void AboutWindow::runModal(HWND owner)
{
    owner_ = owner;
    hand_ = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HAND_POINTER));
    createWindow(owner);
    if (!hwnd_) return;
    frmabout_.Form_Load();

    EnableWindow(owner, FALSE);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    // Its activation gave a control the focus; should the system not have activated it,
    // the focus activates it.
    if (!IsChild(hwnd_, GetFocus())) frmabout_.Form_GotFocus();
    runMessageLoopWhile([this] { return hwnd_ != nullptr; });
    // A window closed another way than unload() still gives the owner back.
    EnableWindow(owner, TRUE);
}

POINT AboutWindow::placeWindow(SIZE size)
{
    // Centred on its owner, the main window.
    RECT ownerRect{};
    GetWindowRect(owner_, &ownerRect);
    return centredIn(ownerRect, size);
}

void AboutWindow::setText(AboutControl control, const std::string& text)
{
    form_.setText(static_cast<int>(control), text);
}

std::optional<AboutControl> AboutWindow::focused()
{
    const int id = form_.idOf(GetFocus());
    if (id < 0) return std::nullopt;
    return static_cast<AboutControl>(id);
}

void AboutWindow::restoreFocus(AboutControl first) { FormWindow::restoreFocus(control(static_cast<int>(first))); }

void AboutWindow::presentAsLink(AboutControl control, const std::string& name)
{
    accessibleNames_.nameOnRequest(this->control(static_cast<int>(control)), widen(name), ROLE_SYSTEM_LINK);
}

void AboutWindow::setColours(ui::FormColours colours) { applyColours(std::move(colours)); }

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

void AboutWindow::onCommand(int id, int code)
{
    if (id == IDOK) { // Enter
        frmabout_.enterPressed();
        return;
    }
    if (id == IDCANCEL) { // Esc
        frmabout_.escapePressed();
        return;
    }
    switch (static_cast<AboutControl>(id - ui::controlIdBase)) {
    case AboutControl::cmdok:
        if (code == BN_CLICKED) frmabout_.cmdok_Click();
        break;
    case AboutControl::lblurl:
        if (code == BN_CLICKED) frmabout_.lblurl_Click();
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
    const int d = static_cast<int>(form_.layoutDpi());
    DrawIconEx(dc, ui::twipsToPixels(image.left, d), ui::twipsToPixels(image.top, d), hand_,
               ui::twipsToPixels(image.width, d), ui::twipsToPixels(image.height, d), 0, nullptr, DI_NORMAL);
    EndPaint(hwnd_, &paint);
}

void AboutWindow::onClose() { frmabout_.Form_Unload(); }

LRESULT AboutWindow::onMessage(UINT message, WPARAM wParam, LPARAM, bool& handled)
{
    switch (message) {
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == control(static_cast<int>(AboutControl::lblurl))) {
            frmabout_.lblurl_MouseMove();
            if (handPointer_) return TRUE;
        }
        break;
    case WM_PAINT:
        onPaint();
        return 0;
    default:
        break;
    }
    handled = false;
    return 0;
}

} // namespace kestrevane::win32
