// What the About window's logic needs of the real window.
#pragma once

#include <optional>
#include <string>

#include "ui/about_layout.h"
#include "ui/colours.h"

namespace kestrevane::ui {

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

} // namespace kestrevane::ui
