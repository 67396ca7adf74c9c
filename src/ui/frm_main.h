// The main window's behaviour: what each of its event handlers does, over the view the
// real window implements.
#pragma once

#include <string>

#include "startup/start_up.h"
#include "sysinfo/system_info.h"
#include "ui/layout.h"

namespace kestrevane::ui {

// Where the log's text box is scrolled to from the keyboard.
enum class LogScroll { pageUp, pageDown, top, bottom };

// What the main window's logic needs of the real window.
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
    // A message box with the information icon and an OK button, modal to the window.
    virtual void showInformation(const std::string& text, const std::string& title) = 0;
    // Opens the About window modally; returns when it has closed.
    virtual void showAbout() = 0;
    // Destroys the window.
    virtual void unload() = 0;
    // Ends the program at once, successfully.
    virtual void endProgram() = 0;
};

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

private:
    // The log's quotation marks and commas become blanks.
    void blankLog();

    MainView& view_;
    sysinfo::SystemQuery& system_;
    Appearance& appearance_;
};

// How the log's quotes and commas are blanked: `vstrInputString` with the first character
// of every occurrence of `vstrA` replaced by the first character of `vstrB`. The search
// resumes one character after each match, so overlapping matches are all found. Characters are UTF-8 sequences: for ASCII
// texts the length never changes, while a first character of another byte length makes
// the result longer or shorter by the difference. The search compares bytes exactly.
// An empty `vstrA` or `vstrB` leaves the text unchanged. Occurrences at any position count.
std::string mReplaceInString(std::string vstrInputString, const std::string& vstrA, const std::string& vstrB);

} // namespace kestrevane::ui
