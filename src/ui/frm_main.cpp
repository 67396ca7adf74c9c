#include "ui/frm_main.h"

#include <utility>

#include "sysinfo/system_info.h"
#include "ui/replace_in_string.h"

namespace kestrevane::ui {

void FrmMain::load()
{
    view_.create();
    Form_Load();
}

void FrmMain::setDateCaption(const std::string& caption) { view_.setText(MainControl::lbldate, caption); }
void FrmMain::setNumberCaption(const std::string& caption) { view_.setText(MainControl::lblNUMBER, caption); }
void FrmMain::setLogText(std::string text) { view_.setText(MainControl::Text1, std::move(text)); }
void FrmMain::setCaption(const std::string& caption) { view_.setCaption(caption); }
void FrmMain::show()
{
    // Windows may refuse a program starting at sign-in the foreground, and then the
    // window is not activated until the user clicks it: the log is blanked either way.
    blankLog();
    view_.show();
}

void FrmMain::Form_Load()
{
    systemColoursChanged();
    // Named after what it holds, not after the count created right before it.
    view_.setAccessibleName(MainControl::Text1, std::string(text1AccessibleName));
    view_.setText(MainControl::lblusername, sysinfo::userNameText(system_) + " ");
    view_.setText(MainControl::lblcomputername, sysinfo::computerNameText(system_) + " ");
}

void FrmMain::systemColoursChanged() { view_.setColours(formColours(frmmainLayout(), appearance_.highContrast())); }

void FrmMain::Form_Activate() { blankLog(); }

void FrmMain::blankLog()
{
    // So each record reads as its date, time and count.
    view_.setText(MainControl::Text1, mReplaceInString(view_.text(MainControl::Text1), "\"", " "));
    view_.setText(MainControl::Text1, mReplaceInString(view_.text(MainControl::Text1), ",", " "));
}

void FrmMain::Form_GotFocus()
{
    // The frame takes no keys. At first Quick Info: the text box would pass it there.
    view_.restoreFocus(MainControl::cmdQuickInfo);
}

void FrmMain::Text1_GotFocus()
{
    // The text box only shows the log; the focus belongs on the buttons.
    view_.setFocus(MainControl::cmdQuickInfo);
}

void FrmMain::cmdabout_Click() { view_.showAbout(); }

void FrmMain::cmdexit_Click()
{
    view_.unload();
    view_.endProgram();
}

void FrmMain::escapePressed() { cmdexit_Click(); }

bool FrmMain::Form_KeyDown(Key key, bool control)
{
    // The focus stays on the buttons, which have no use for these keys: they read the log.
    switch (key) {
    case Key::pageUp:
        view_.scrollLog(LogScroll::pageUp);
        return true;
    case Key::pageDown:
        view_.scrollLog(LogScroll::pageDown);
        return true;
    case Key::home:
        if (!control) return false;
        view_.scrollLog(LogScroll::top);
        return true;
    case Key::end:
        if (!control) return false;
        view_.scrollLog(LogScroll::bottom);
        return true;
    case Key::other:
        break;
    }
    return false;
}

void FrmMain::Form_Unload()
{
    // The start-up has long returned and no other window is loaded: the program ends.
    view_.unload();
    view_.endProgram();
}

void FrmMain::cmdQuickInfo_Click()
{
    const std::string uptime = sysinfo::uptimeText(system_);
    const std::string version = sysinfo::windowsVersionText(system_);
    view_.showInformation(sysinfo::quickInfoText(uptime, version), std::string(sysinfo::quickInfoTitle));
}

} // namespace kestrevane::ui
