// The About window in Win32: a modal tool window over the main window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/win32/form.h"
#include "platform/win32/window_class.h"
#include "startup/clock.h"
#include "ui/about_view.h"
#include "ui/frm_about.h"

namespace kestrevane::win32 {

inline constexpr wchar_t aboutWindowClass[] = L"KestrevaneAbout";

class AboutWindow final : public ui::AboutView, private WindowHandler {
public:
    AboutWindow(startup::Clock& clock, std::function<void()> minimizeMain)
        : frmabout_(*this, clock, std::move(minimizeMain))
    {
    }
    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;
    ~AboutWindow() override;

    // Loads the window, shows it centred on `owner` and returns when it is unloaded.
    void runModal(HWND owner);

    void setText(ui::AboutControl control, const std::string& text) override;
    void setLinkPointerToHand() override;
    void openAddress(const std::string& address) override;
    void unload() override;

private:
    LRESULT handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    void onCommand(WPARAM wParam);
    void onPaint();
    void applyDpi(UINT dpi, const RECT* suggested);

    ui::FrmAbout frmabout_;
    Form form_;
    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    HCURSOR hand_ = nullptr;
    bool handPointer_ = false;
};

} // namespace kestrevane::win32
