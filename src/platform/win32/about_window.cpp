// The About window in Win32: a modal tool window over the main window.
#include <oleacc.h>

#include <optional>
#include <utility>

#include "platform/win32/main_window.h"
#include "platform/win32/system_functions.h"
#include "platform/win32/text_convert.h"
#include "resource_ids.h"
#include "ui/frm_about.h"

namespace kestrevane::win32 {

namespace {

constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME;

using ui::AboutControl;

class AboutWindow final : public ui::AboutView, public FormWindow {
public:
    AboutWindow(startup::Clock& clock, ui::Appearance& appearance, std::function<void()> minimizeOwner)
        : FormWindow(ui::frmaboutLayout(), aboutWindowClass, style, exStyle),
          frmabout_(*this, clock, appearance, std::move(minimizeOwner))
    {
    }

    void runModal(HWND owner);

    void setText(AboutControl control, const std::string& text) override
    {
        FormWindow::setText(static_cast<int>(control), text);
    }
    std::optional<AboutControl> focused() override;
    void restoreFocus(AboutControl first) override { FormWindow::restoreFocus(controlOf(first)); }
    void presentAsLink(AboutControl control, const std::string& name) override
    {
        accessibleNames_.nameOnRequest(controlOf(control), widen(name), ROLE_SYSTEM_LINK);
    }
    void setColours(ui::FormColours colours) override { applyColours(std::move(colours)); }
    void setLinkPointerToHand() override
    {
        handPointer_ = true;
        SetCursor(hand_);
    }
    void openAddress(const std::string& address) override { win32::openAddress(hwnd_, address); }
    void unload() override;

private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    POINT placeWindow(SIZE size) override;
    void paint();
    HWND controlOf(AboutControl c) const { return control(static_cast<int>(c)); }

    ui::FrmAbout frmabout_;
    AccessibleNames accessibleNames_;
    HWND owner_ = nullptr;
    HCURSOR hand_ = nullptr;
    bool handPointer_ = false;
};

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

std::optional<AboutControl> AboutWindow::focused()
{
    const int id = idOf(GetFocus());
    if (id < 0) return std::nullopt;
    return static_cast<AboutControl>(id);
}

void AboutWindow::unload()
{
    if (!hwnd_) return;
    // The owner is enabled before this window goes, so the activation returns to it
    // and not to another program.
    EnableWindow(owner_, TRUE);
    DestroyWindow(hwnd_);
}

LRESULT AboutWindow::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == IDOK) { // Enter
            frmabout_.enterPressed();
            return 0;
        }
        if (id == IDCANCEL) { // Esc
            frmabout_.escapePressed();
            return 0;
        }
        if (HIWORD(wParam) != BN_CLICKED) return 0;
        const auto control = static_cast<AboutControl>(id - ui::controlIdBase);
        if (control == AboutControl::cmdok) frmabout_.cmdok_Click();
        if (control == AboutControl::lblurl) frmabout_.lblurl_Click();
        return 0;
    }
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == controlOf(AboutControl::lblurl)) {
            frmabout_.lblurl_MouseMove();
            if (handPointer_) return TRUE;
        }
        break;
    case WM_PAINT:
        paint();
        return 0;
    default:
        break;
    }
    return handleCommon(frmabout_, message, wParam, lParam);
}

void AboutWindow::paint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    paintLines(dc);
    // The hand picture sits at the bottom edge, nearly all of it below the client area.
    const ui::ImageSpec& image = ui::imghandLayout();
    const int d = static_cast<int>(layoutDpi());
    DrawIconEx(dc, ui::twipsToPixels(image.left, d), ui::twipsToPixels(image.top, d), hand_,
               ui::twipsToPixels(image.width, d), ui::twipsToPixels(image.height, d), 0, nullptr, DI_NORMAL);
    EndPaint(hwnd_, &paint);
}

} // namespace

void runAboutWindow(HWND owner, startup::Clock& clock, ui::Appearance& appearance,
                    std::function<void()> minimizeOwner)
{
    AboutWindow about(clock, appearance, std::move(minimizeOwner));
    about.runModal(owner);
}

} // namespace kestrevane::win32
