#include "ui/frm_main.h"

#include <cstddef>
#include <utility>

#include "sysinfo/system_info.h"

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

namespace {

// Length of the UTF-8 sequence that starts `text`; a byte that does not begin a whole
// sequence counts as one character of its own.
std::size_t firstCharacterLength(const std::string& text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 1;
    if (lead >= 0xC0 && lead < 0xE0) length = 2;
    else if (lead >= 0xE0 && lead < 0xF0) length = 3;
    else if (lead >= 0xF0 && lead < 0xF8) length = 4;
    if (length > text.size()) return 1;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
    return length;
}

} // namespace

std::string mReplaceInString(std::string vstrInputString, const std::string& vstrA, const std::string& vstrB)
{
    if (vstrA.empty() || vstrB.empty()) return vstrInputString;

    // A match always begins with vstrA's first character, so that is the span overwritten;
    // the next search starts right after it, on text no replacement has touched. So one
    // pass does it: in place when both characters are of one length, else by copying.
    const std::size_t matchedLength = firstCharacterLength(vstrA);
    const std::size_t replacementLength = firstCharacterLength(vstrB);

    if (matchedLength == replacementLength) {
        // A single byte for a single byte, as the log's quotes and commas are: a plain scan.
        if (vstrA.size() == 1) {
            const char from = vstrA[0], to = vstrB[0];
            // Every byte is written, so the compiler can do many at a time.
            for (char& c : vstrInputString) c = c == from ? to : c;
            return vstrInputString;
        }
        for (std::size_t pos = vstrInputString.find(vstrA); pos != std::string::npos;
             pos = vstrInputString.find(vstrA, pos + matchedLength))
            vstrInputString.replace(pos, matchedLength, vstrB, 0, replacementLength);
        return vstrInputString;
    }

    std::string result;
    result.reserve(vstrInputString.size());
    std::size_t copied = 0;
    for (std::size_t pos = vstrInputString.find(vstrA); pos != std::string::npos;
         pos = vstrInputString.find(vstrA, copied)) {
        result.append(vstrInputString, copied, pos - copied);
        result.append(vstrB, 0, replacementLength);
        copied = pos + matchedLength;
    }
    result.append(vstrInputString, copied, std::string::npos);
    return result;
}

} // namespace kestrevane::ui
