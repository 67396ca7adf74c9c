// The About window's behaviour: its texts, its link and its Ok button, over the view the
// real window implements.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "startup/date_time.h"
#include "ui/layout.h"

namespace kestrevane::ui {

// "Version 1.0.3": major, minor and revision without leading zeros.
std::string versionText(int major, int minor, int revision);

// What the About window's logic needs of the real window.
class AboutView {
public:
    virtual ~AboutView() = default;
    virtual void setText(AboutControl control, const std::string& text) = 0;
    // The colours to draw the controls and lines in from now on; the window repaints.
    virtual void setColours(FormColours colours) = 0;
    // The control with the keyboard focus; none when it is elsewhere.
    virtual std::optional<AboutControl> focused() = 0;
    // The focus back to the control that had it when the window last lost it; to `first`
    // when none has had it yet.
    virtual void restoreFocus(AboutControl first) = 0;
    // The accessibility layer presents `control` as a link called `name`; nothing happens
    // where the system cannot annotate controls.
    virtual void presentAsLink(AboutControl control, const std::string& name) = 0;
    // From now on the pointer over the link is the hand picture.
    virtual void setLinkPointerToHand() = 0;
    // Has the shell open `address` with its default action, owned by this window; a
    // failure is not reported.
    virtual void openAddress(const std::string& address) = 0;
    // Destroys the window; its modal display ends.
    virtual void unload() = 0;
};

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
