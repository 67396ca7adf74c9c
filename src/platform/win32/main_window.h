// The main window in Win32: creates the designed controls and forwards their events.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/win32/accessible_names.h"
#include "platform/win32/form_window.h"
#include "ui/frm_main.h"
#include "ui/main_view.h"

namespace kestrevane::win32 {

inline constexpr wchar_t mainWindowClass[] = L"KestrevaneMain";

class MainWindow final : public ui::MainView, public FormWindow {
public:
    // `openAbout` shows the About window modally over the given owner.
    explicit MainWindow(std::function<void(HWND owner)> openAbout);
    ~MainWindow() override;

    void attach(ui::FrmMain& frmmain) { frmmain_ = &frmmain; }

    void create() override;
    void setCaption(const std::string& caption) override;
    void setText(ui::MainControl control, std::string text) override;
    std::string text(ui::MainControl control) override;
    void setFocus(ui::MainControl control) override;
    void restoreFocus(ui::MainControl first) override;
    void setColours(ui::FormColours colours) override;
    void setAccessibleName(ui::MainControl control, const std::string& name) override;
    void scrollLog(ui::LogScroll where) override;
    void show() override;
    void minimize() override;
    void showInformation(const std::string& text, const std::string& title) override;
    void showAbout() override;
    void unload() override;
    void endProgram() override;

private:
    POINT placeWindow(SIZE size) override;
    void onDpiApplied(UINT dpi) override;
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void onActivate() override;
    void onFocus() override { frmmain_->Form_GotFocus(); }
    void onCommand(int id, int code) override;
    void onClose() override;
    void onSystemColoursChanged() override { frmmain_->systemColoursChanged(); }
    bool previewKey(WPARAM key) override;
    // The wheel over the log scrolls it, whichever control has the focus.
    bool onMouseWheel(WPARAM wParam, LPARAM lParam);
    // Writes text1_ into the text box when it changed since it was last written there.
    void flushText1();
    HWND controlOf(ui::MainControl c) const { return control(static_cast<int>(c)); }

    std::function<void(HWND)> openAbout_;
    ui::FrmMain* frmmain_ = nullptr;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    AccessibleNames accessibleNames_;
    bool forwardingWheel_ = false;
    // The text box's text as last set, so writing the same text again does not reset
    // its scroll position or convert a long log twice.
    std::string text1_;
    // Until the window is first shown, and while an activation cleans the text, only
    // text1_ changes; the control is filled once afterwards, as laying out a long log
    // in it costs more than anything else at start.
    bool holdText1_ = true;
    bool text1Pending_ = false;
};

} // namespace kestrevane::win32
