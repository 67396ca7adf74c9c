// The main window's handlers, through a view that records their effects.
#include "ui/frm_main.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fake_system_query.h"
#include "fake_views.h"

namespace kestrevane::ui {
namespace {

using testing::FakeMainView;

// Names as the system writes them, with their NUL; an uptime of 1:02:03 and Windows XP.
testing::FakeSystemQuery exampleSystem()
{
    testing::FakeSystemQuery system;
    system.milliseconds = 3723000;
    system.version = testing::versionResult(1, 5, 1, 2600, 2, "Service Pack 1");
    system.computerName = std::string("PC01\0", 5);
    system.userName = std::string("ada\0", 4);
    return system;
}

struct Fixture : ::testing::Test {
    FakeMainView view;
    testing::FakeSystemQuery system = exampleSystem();
    testing::FakeAppearance appearance;
    FrmMain frmmain{view, system, appearance};
};

using MainWindow = Fixture;

TEST_F(MainWindow, LoadFillsUserThenComputerNameWithTrailingBlank)
{
    frmmain.load();
    EXPECT_EQ(view.calls.front(), "create");
    EXPECT_EQ(view.texts[MainControl::lblusername], "ada ");
    EXPECT_EQ(view.texts[MainControl::lblcomputername], "PC01 ");
    EXPECT_EQ(system.asked, (std::vector<std::string>{"user", "computer"}));
}

TEST_F(MainWindow, ActivationBlanksQuotesThenCommasInTwoWriteBacks)
{
    const std::string log = "\"12/6/2026\",\"07:41:09\",\"1\"\r\n\"Dec 6, 2026\",\"07:50:00\",\"2\"\r\n";
    view.texts[MainControl::Text1] = log;
    frmmain.Form_Activate();
    EXPECT_EQ(view.texts[MainControl::Text1], " 12/6/2026   07:41:09   1 \r\n Dec 6  2026   07:50:00   2 \r\n");
    EXPECT_EQ(view.calls, (std::vector<std::string>{"get Text1", "set Text1", "get Text1", "set Text1"}));

    // Every activation does it again; a clean text stays as it is.
    const std::string cleaned = view.texts[MainControl::Text1];
    view.calls.clear();
    frmmain.Form_Activate();
    EXPECT_EQ(view.texts[MainControl::Text1], cleaned);
    EXPECT_EQ(view.calls.size(), 4u);
}

TEST_F(MainWindow, ActivationCleansTextsPastThe16BitLimit)
{
    std::string log;
    while (log.size() < 100000) log += "\"12/6/2026\",\"07:41:09\",\"1\"\r\n";
    view.texts[MainControl::Text1] = log;
    frmmain.Form_Activate();
    const std::string& text = view.texts[MainControl::Text1];
    EXPECT_EQ(text.size(), log.size());
    EXPECT_EQ(std::count(text.begin(), text.end(), '"') + std::count(text.begin(), text.end(), ','), 0);
}

constexpr Colour sys(int index) { return Colour::system(index); }
constexpr Colour blue = Colour::rgb(0, 0, 192), none{};

// Text and background of each kind of control: as designed with High Contrast off, the
// theme's window, button and grey colours with it on; at load, and at each switch.
TEST_F(MainWindow, ColoursAsDesignedOrTheThemesFollowingASwitch)
{
    const struct {
        MainControl control;
        ShownColours off, on;
    } rows[] = {
        {MainControl::lbltext, {sys(18), none}, {sys(18), none}},
        {MainControl::lblcomputername, {blue, sys(11)}, {sys(8), sys(5)}},
        {MainControl::lbldate, {blue, none}, {sys(8), sys(5)}},
        {MainControl::lblNUMBER, {Colour::rgb(255, 255, 0), sys(17)}, {sys(5), sys(17)}},
        {MainControl::Text1, {sys(8), sys(0)}, {sys(8), sys(5)}},
        {MainControl::cmdQuickInfo, {sys(18), none}, {sys(18), none}},
    };
    frmmain.load();
    for (const bool on : {false, true, false}) {
        if (on != appearance.on) {
            appearance.on = on;
            frmmain.systemColoursChanged();
        }
        ASSERT_EQ(view.colours.controls.size(), frmmainLayout().controls.size());
        for (const auto& row : rows) {
            const ShownColours& shown = view.colours.controls[static_cast<std::size_t>(row.control)];
            EXPECT_TRUE(shown.text == (on ? row.on : row.off).text) << FakeMainView::name(row.control) << " on=" << on;
            EXPECT_TRUE(shown.background == (on ? row.on : row.off).background)
                << FakeMainView::name(row.control) << " on=" << on;
        }
    }
}

TEST_F(MainWindow, LogBoxHasAnAccessibleNameOfItsOwn)
{
    frmmain.load();
    EXPECT_EQ(view.accessibleNames[MainControl::Text1], "Today's startup log");
    EXPECT_EQ(view.accessibleNames.size(), 1u) << "only the log box: the others have their captions";
}

// Page keys and Ctrl+Home/End scroll the log, the focus staying where it is; other keys
// go on to the focused control.
TEST_F(MainWindow, PageKeysAndControlHomeEndScrollTheLog)
{
    const struct {
        Key key;
        bool control;
        std::vector<LogScroll> scrolls; // none: the key is not used
    } rows[] = {
        {Key::pageUp, false, {LogScroll::pageUp}}, {Key::pageDown, true, {LogScroll::pageDown}},
        {Key::home, true, {LogScroll::top}},       {Key::end, true, {LogScroll::bottom}},
        {Key::home, false, {}},                    {Key::end, false, {}},
        {Key::other, true, {}},
    };
    for (const auto& row : rows) {
        view.scrolls.clear();
        EXPECT_EQ(frmmain.Form_KeyDown(row.key, row.control), !row.scrolls.empty()) << static_cast<int>(row.key);
        EXPECT_EQ(view.scrolls, row.scrolls) << static_cast<int>(row.key) << (row.control ? " with Ctrl" : "");
    }
    EXPECT_TRUE(view.calls.empty()) << "the focus stays where it is";
}

TEST_F(MainWindow, FocusOnTheTextBoxMovesToQuickInfo)
{
    frmmain.Text1_GotFocus();
    EXPECT_EQ(view.calls, (std::vector<std::string>{"focus cmdQuickInfo"}));
}

// Every way out unloads the window, then ends the program.
TEST_F(MainWindow, ExitEscAndClosingUnloadThenEnd)
{
    for (void (FrmMain::*way)() : {&FrmMain::cmdexit_Click, &FrmMain::escapePressed, &FrmMain::Form_Unload}) {
        view.calls.clear();
        (frmmain.*way)();
        EXPECT_EQ(view.calls, (std::vector<std::string>{"unload", "end"}));
    }
}

TEST_F(MainWindow, AboutOpensTheAboutWindow)
{
    frmmain.cmdabout_Click();
    EXPECT_EQ(view.calls, (std::vector<std::string>{"about"}));
}

TEST_F(MainWindow, QuickInfoAsksBothProbesAnewAtEachPress)
{
    frmmain.cmdQuickInfo_Click();
    system.milliseconds = 3724000;
    frmmain.cmdQuickInfo_Click();
    EXPECT_EQ(system.asked, (std::vector<std::string>{"uptime", "version", "uptime", "version"}));
    ASSERT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(view.messages[0].title, "Kestrevane QuickInfo");
    EXPECT_EQ(view.messages[0].text, "[ Boot info ]\r\nHours since reboot: 01:02:03\r\n\r\n[ Your system ]\r\n"
                                     "Windows XP (Whistler) Service Pack 1\r\nWindows Version Number = 5.1.2600\r\n");
    EXPECT_NE(view.messages[1].text.find("01:02:04"), std::string::npos);
}

// The log is blanked before the window shows, as Windows may not activate it (at sign-in).
TEST_F(MainWindow, StartUpSettersReachTheirControlsAndTheLogShowsBlanked)
{
    frmmain.setDateCaption("12/6/2026 ");
    frmmain.setNumberCaption("2 ");
    frmmain.setLogText("\"12/6/2026\",\"2\"");
    frmmain.setCaption("Kestrevane Sunday");
    frmmain.show();
    EXPECT_EQ(view.texts[MainControl::lbldate], "12/6/2026 ");
    EXPECT_EQ(view.texts[MainControl::lblNUMBER], "2 ");
    EXPECT_EQ(view.texts[MainControl::Text1], " 12/6/2026   2 ");
    EXPECT_EQ(view.caption, "Kestrevane Sunday");
    EXPECT_EQ(std::vector<std::string>(view.calls.end() - 3, view.calls.end()),
              (std::vector<std::string>{"get Text1", "set Text1", "show"}));
}

} // namespace
} // namespace kestrevane::ui
