// The About window in Win32: a modal tool window over the main window.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/win32/accessible_names.h"
#include "platform/win32/form_window.h"
#include "startup/date_time.h"
#include "ui/about_view.h"
#include "ui/frm_about.h"

namespace kestrevane::win32 {

inline constexpr wchar_t aboutWindowClass[] = L"KestrevaneAbout";

class AboutWindow final : public ui::AboutView, public FormWindow {
public:
    AboutWindow(startup::Clock& clock, ui::Appearance& appearance, std::function<void()> minimizeMain);

    // Loads the window, shows it centred on `owner` and returns when it is unloaded.
    void runModal(HWND owner);

    void setText(ui::AboutControl control, const std::string& text) override;
    std::optional<ui::AboutControl> focused() override;
    void restoreFocus(ui::AboutControl first) override;
    void presentAsLink(ui::AboutControl control, const std::string& name) override;
    void setColours(ui::FormColours colours) override;
    void setLinkPointerToHand() override;
    void openAddress(const std::string& address) override;
    void unload() override;

private:
    POINT placeWindow(SIZE size) override;
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void onCommand(int id, int code) override;
    void onClose() override;
    void onSystemColoursChanged() override { frmabout_.systemColoursChanged(); }
    void onFocus() override { frmabout_.Form_GotFocus(); }
    void onPaint();

    ui::FrmAbout frmabout_;
    AccessibleNames accessibleNames_;
    HWND owner_ = nullptr;
    HCURSOR hand_ = nullptr;
    bool handPointer_ = false;
};

} // namespace kestrevane::win32
