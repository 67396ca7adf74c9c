// The About window's handlers: its texts at each opening and the link's order of steps.
#include "ui/frm_about.h"

#include <gtest/gtest.h>

#include "app_info.h"
#include "fake_services.h"
#include "fake_views.h"

namespace kestrevane::ui {
namespace {

TEST(AboutVersion, HasNoLeadingZerosAndThreeNumbers)
{
    EXPECT_EQ(versionText(2, 0, 7), "Version 2.0.7");
    EXPECT_EQ(versionText(10, 20, 300), "Version 10.20.300");
}

// The link's minimizing of the main window is recorded with the view's calls.
struct Fixture : ::testing::Test {
    testing::FakeClock clock{{{2026, 12, 6}, 0, 0, 0}};
    testing::FakeAboutView view;
    testing::FakeAppearance appearance;
    FrmAbout frmabout{view, clock, appearance, [this] { view.calls.push_back("minimize main"); }};
};

using AboutWindow = Fixture;

TEST_F(AboutWindow, LoadSetsTitleVersionCopyrightInOrderWithTheYearOfEachOpening)
{
    clock.readings = {{{2026, 12, 31}, 23, 59, 59}};
    frmabout.Form_Load();
    EXPECT_EQ(view.texts[AboutControl::lblprogtitle], "Kestrevane");
    EXPECT_EQ(view.texts[AboutControl::lblversion], "Version " + std::to_string(app::versionMajor) + "." +
                                                         std::to_string(app::versionMinor) + "." +
                                                         std::to_string(app::versionRevision));
    EXPECT_EQ(view.texts[AboutControl::lblcopyright], std::string(app::copyrightPrefix) + "2026");
    EXPECT_EQ(view.calls, (std::vector<std::string>{"colours", "set 0", "set 1", "set 2",
                                                    "link 7 " + std::string(app::homePage)}));

    clock.readings = {{{2027, 1, 1}, 0, 0, 1}};
    FrmAbout second(view, clock, appearance, [] {});
    second.Form_Load();
    EXPECT_EQ(view.texts[AboutControl::lblcopyright], std::string(app::copyrightPrefix) + "2027");
}

// The link in the design's blue or the theme's hot-light, the etched lines' dark half in
// the theme's text colour, and repainted at a switch.
TEST_F(AboutWindow, ColoursAsDesignedOrTheThemesFollowingASwitch)
{
    const auto link = [&] { return view.colours.controls.at(static_cast<std::size_t>(AboutControl::lblurl)).text; };
    const Colour dark = Colour::rgb(64, 0, 64), light = Colour::system(20), text = Colour::system(18);
    frmabout.Form_Load();
    EXPECT_TRUE(link() == Colour::rgb(0, 0, 192));
    EXPECT_TRUE(view.colours.lines == (std::vector<Colour>{dark, light, dark, light}));
    appearance.on = true;
    frmabout.systemColoursChanged();
    EXPECT_TRUE(link() == Colour::system(26));
    EXPECT_TRUE(view.colours.lines == (std::vector<Colour>{text, light, text, light}));
}

TEST_F(AboutWindow, LinkMinimizesMainThenOpensThenCloses)
{
    frmabout.lblurl_Click();
    EXPECT_EQ(view.calls, (std::vector<std::string>{"minimize main", "open " + std::string(app::homePage), "unload"}));
}

TEST_F(AboutWindow, EnterEscAndClosingUnloadItAlone)
{
    for (void (FrmAbout::*way)() : {&FrmAbout::enterPressed, &FrmAbout::escapePressed, &FrmAbout::Form_Unload}) {
        view.calls.clear();
        (frmabout.*way)();
        EXPECT_EQ(view.calls, (std::vector<std::string>{"unload"}));
    }
}

// On the focused link, Enter does what a click does, in the same order; elsewhere it presses Ok.
TEST_F(AboutWindow, EnterPressesTheFocusedLinkOrOk)
{
    frmabout.lblurl_Click();
    const std::vector<std::string> click = view.calls;
    for (const auto focus : {AboutControl::lblurl, AboutControl::cmdok}) {
        view.calls.clear();
        view.focus = focus;
        frmabout.enterPressed();
        EXPECT_EQ(view.calls, focus == AboutControl::lblurl ? click : std::vector<std::string>{"unload"});
    }
}

TEST_F(AboutWindow, MouseOverLinkShowsHandAndOkCloses)
{
    frmabout.lblurl_MouseMove();
    frmabout.cmdok_Click();
    EXPECT_EQ(view.calls, (std::vector<std::string>{"hand", "unload"}));
}

} // namespace
} // namespace kestrevane::ui
