// The program's windows in Win32: the main window, built with its logic, and the About
// window it opens. Each creates its designed controls and forwards their events.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "platform/win32/accessible_names.h"
#include "platform/win32/form_window.h"
#include "startup/date_time.h"
#include "sysinfo/system_info.h"
#include "ui/frm_main.h"

namespace kestrevane::win32 {

inline constexpr wchar_t mainWindowClass[] = L"KestrevaneMain";
inline constexpr wchar_t aboutWindowClass[] = L"KestrevaneAbout";

// The log's text box. It keeps the text it was given, so reading it back costs nothing
// and the same text given again neither resets its scroll position nor converts a long
// log twice. Until the window first shows the text waits, and the box is filled once:
// laying out a long log in it costs more than anything else at start.
class LogBox {
public:
    void setText(std::string text);
    const std::string& text() const { return text_; }
    // The window shows with `box`: the text goes into it now, and later texts as they come.
    void show(HWND box);

private:
    void write();

    std::string text_;
    HWND box_ = nullptr; // null until the window shows
    bool waiting_ = false;
};

class MainWindow final : public ui::MainView, public FormWindow {
public:
    MainWindow(sysinfo::SystemQuery& system, startup::Clock& clock, ui::Appearance& appearance);
    ~MainWindow() override;

    // Its logic, which the start-up fills in and shows.
    ui::FrmMain& frmmain() { return frmmain_; }

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
    void showInformation(const std::string& text, const std::string& title) override;
    void showAbout() override;
    void unload() override;
    void endProgram() override;

private:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool previewKey(WPARAM key) override;
    POINT placeWindow(SIZE size) override;
    void onDpiApplied(UINT dpi) override;
    // The wheel over the log scrolls it, whichever control has the focus.
    bool wheelOverLog(WPARAM wParam, LPARAM lParam);
    // Enter: the focused button's id, or 0.
    int focusedButton() const;
    HWND controlOf(ui::MainControl c) const { return control(static_cast<int>(c)); }

    ui::FrmMain frmmain_;
    startup::Clock& clock_;
    ui::Appearance& appearance_;
    LogBox text1_;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    AccessibleNames accessibleNames_;
    bool forwardingWheel_ = false;
};

// Loads the About window, shows it centred on `owner` and returns when it is unloaded;
// its link minimizes the owner with `minimizeOwner`.
void runAboutWindow(HWND owner, startup::Clock& clock, ui::Appearance& appearance,
                    std::function<void()> minimizeOwner);

} // namespace kestrevane::win32
