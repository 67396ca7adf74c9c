// What the main window's logic needs of the real window.
#pragma once

#include <string>

#include "ui/colours.h"
#include "ui/main_layout.h"

namespace kestrevane::ui {

// Where the log's text box is scrolled to from the keyboard.
enum class LogScroll { pageUp, pageDown, top, bottom };

class MainView {
public:
    virtual ~MainView() = default;
    // Creates the window and its controls, hidden.
    virtual void create() = 0;
    virtual void setCaption(const std::string& caption) = 0;
    // Taken by value: the log text is large and callers hand over what they built.
    virtual void setText(MainControl control, std::string text) = 0;
    virtual std::string text(MainControl control) = 0;
    virtual void setFocus(MainControl control) = 0;
    // The focus back to the control that had it when the window last lost it; to `first`
    // when none has had it yet.
    virtual void restoreFocus(MainControl first) = 0;
    // The colours to draw the controls in from now on; the window repaints.
    virtual void setColours(FormColours colours) = 0;
    // The name the accessibility layer gives `control` instead of the label before it;
    // nothing happens where the system cannot annotate controls.
    virtual void setAccessibleName(MainControl control, const std::string& name) = 0;
    virtual void scrollLog(LogScroll where) = 0;
    // Shows the window modelessly; it becomes active.
    virtual void show() = 0;
    virtual void minimize() = 0;
    // A message box with the information icon and an OK button, modal to the window.
    virtual void showInformation(const std::string& text, const std::string& title) = 0;
    // Opens the About window modally; returns when it has closed.
    virtual void showAbout() = 0;
    // Destroys the window.
    virtual void unload() = 0;
    // Ends the program at once, successfully.
    virtual void endProgram() = 0;
};

} // namespace kestrevane::ui
