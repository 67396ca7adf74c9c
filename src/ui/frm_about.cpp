#include "ui/frm_about.h"

#include "app_info.h"

namespace kestrevane::ui {

std::string versionText(int major, int minor, int revision)
{
    return "Version " + std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(revision);
}

void FrmAbout::Form_Load()
{
    systemColoursChanged();
    view_.setText(AboutControl::lblprogtitle, std::string(app::title));
    view_.setText(AboutControl::lblversion, versionText(app::versionMajor, app::versionMinor, app::versionRevision));
    // The year is read at every opening, so a window opened after New Year shows the new one.
    view_.setText(AboutControl::lblcopyright,
                  std::string(app::copyrightPrefix) + std::to_string(clock_.now().date.year));
    // It takes the focus and opens the address like a link, so it is read as one.
    view_.presentAsLink(AboutControl::lblurl, std::string(app::homePage));
}

void FrmAbout::systemColoursChanged()
{
    view_.setColours(formColours(frmaboutLayout(), appearance_.highContrast()));
}

void FrmAbout::lblurl_MouseMove() { view_.setLinkPointerToHand(); }

void FrmAbout::lblurl_Click()
{
    minimizeMain_();
    view_.openAddress(std::string(app::homePage));
    view_.unload();
}

void FrmAbout::cmdok_Click() { view_.unload(); }
void FrmAbout::Form_GotFocus() { view_.restoreFocus(AboutControl::cmdok); }

void FrmAbout::enterPressed()
{
    if (view_.focused() == AboutControl::lblurl)
        lblurl_Click();
    else
        cmdok_Click();
}

void FrmAbout::escapePressed() { cmdok_Click(); }
void FrmAbout::Form_Unload() { view_.unload(); }

} // namespace kestrevane::ui
