// The main window's behaviour: what each of its event handlers does.
#pragma once

#include <string>

#include "startup/startup_window.h"
#include "sysinfo/system_info.h"
#include "ui/appearance.h"
#include "ui/main_view.h"

namespace kestrevane::ui {

// The keys the window looks at before its focused control does.
enum class Key { pageUp, pageDown, home, end, other };

class FrmMain : public startup::StartupWindow {
public:
    FrmMain(MainView& view, sysinfo::SystemQuery& system, Appearance& appearance)
        : view_(view), system_(system), appearance_(appearance)
    {
    }

    // What the start-up sets.
    void load() override;
    void setDateCaption(const std::string& caption) override;
    void setNumberCaption(const std::string& caption) override;
    void setLogText(std::string text) override;
    void setCaption(const std::string& caption) override;
    void show() override;

    // Event handlers, called by the view.
    void Form_Load();
    void Form_Activate();
    // The window itself got the focus (restored from minimized, say), or was activated.
    void Form_GotFocus();
    void Text1_GotFocus();
    void cmdabout_Click();
    void cmdexit_Click();
    void cmdQuickInfo_Click();
    // Esc: Exit is the window's cancel button.
    void escapePressed();
    // A key pressed anywhere in the window, before the focused control gets it; true when
    // it was used here, and the control does not get it.
    bool Form_KeyDown(Key key, bool control);
    // The user's colours changed, or High Contrast went on or off.
    void systemColoursChanged();
    // Closed from the title bar: the window goes, and with it the program.
    void Form_Unload();

    // The window's own minimize, for the About window's link.
    void minimize() { view_.minimize(); }

private:
    // The log's quotation marks and commas become blanks.
    void blankLog();

    MainView& view_;
    sysinfo::SystemQuery& system_;
    Appearance& appearance_;
};

} // namespace kestrevane::ui
