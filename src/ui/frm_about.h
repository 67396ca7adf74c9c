// The About window's behaviour: its texts, its link and its Ok button.
#pragma once

#include <functional>
#include <string>

#include "startup/date_time.h"
#include "ui/about_view.h"
#include "ui/appearance.h"

namespace kestrevane::ui {

// "Version 1.0.3": major, minor and revision without leading zeros.
std::string versionText(int major, int minor, int revision);

class FrmAbout {
public:
    // `minimizeMain` minimizes the main window.
    FrmAbout(AboutView& view, startup::Clock& clock, Appearance& appearance, std::function<void()> minimizeMain)
        : view_(view), clock_(clock), appearance_(appearance), minimizeMain_(std::move(minimizeMain))
    {
    }

    void Form_Load();
    void lblurl_MouseMove();
    void lblurl_Click();
    void cmdok_Click();
    // The window itself got the focus, or was activated.
    void Form_GotFocus();
    // Enter presses the link when it has the focus, and Ok, the default button, otherwise.
    void enterPressed();
    // Ok is the cancel button too; closing the window unloads it as well.
    void escapePressed();
    void Form_Unload();
    // The user's colours changed, or High Contrast went on or off.
    void systemColoursChanged();

private:
    AboutView& view_;
    startup::Clock& clock_;
    Appearance& appearance_;
    std::function<void()> minimizeMain_;
};

} // namespace kestrevane::ui
