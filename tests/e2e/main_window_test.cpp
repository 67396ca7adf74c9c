// The main window: its texts, leaving the program, the focus, the colours, the log by
// keys and wheel, and the Quick Info report.
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <regex>

#include "product_test.h"
#include "ui/layout.h"

namespace kestrevane::e2e {
namespace {

struct ExitCase {
    const char* name;
    std::function<void(Product&, HWND window)> act;
};

void PrintTo(const ExitCase& row, std::ostream* os) { *os << row.name; }

const ExitCase exitCases[] = {
    {"Esc", [](Product& p, HWND) { p.postKey(VK_ESCAPE); }},
    {"AltX", [](Product& p, HWND) { p.postAltKey(L'x'); }},
    {"CloseBox", [](Product&, HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }},
};

class Leaving : public ProductTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(Leaving, EndsWithCodeZeroAndWritesNothing)
{
    const HWND window = startToMainWindow();
    ASSERT_NE(window, nullptr);
    const std::optional<std::string> log = readBytes(logPath());
    ASSERT_TRUE(log.has_value());

    GetParam().act(product(), window);
    const std::optional<DWORD> code = product().waitForExit();
    ASSERT_TRUE(code.has_value()) << "the program did not end within 15 s (terminated)";
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(readBytes(logPath()), log);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, Leaving, ::testing::ValuesIn(exitCases),
                         [](const ::testing::TestParamInfo<ExitCase>& row) { return std::string(row.param.name); });

// The fixed texts and the system names, once, on a first start.
using MainWindowTexts = ProductTest;

TEST_F(MainWindowTexts, ShowTheNamesAndLabels)
{
    const HWND window = startToMainWindow();
    ASSERT_NE(window, nullptr);

    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD computerSize = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(GetComputerNameW(computer, &computerSize));
    wchar_t user[257];
    DWORD userSize = 257;
    ASSERT_TRUE(GetUserNameW(user, &userSize));

    const struct {
        Main control;
        std::wstring text;
    } expected[] = {
        {Main::lbltext, L"Computer:"},
        {Main::lblcomputername, std::wstring(computer) + L" "},
        {Main::lbltext2, L"Owner:"},
        {Main::lblusername, std::wstring(user) + L" "},
        {Main::lbltext3, L"Date:"},
        {Main::lbltext4, L"Startups:"},
        {Main::cmdabout, L"&About"},
        {Main::cmdexit, L"E&xit"},
        {Main::cmdQuickInfo, L"&Quick Info"},
    };
    for (const auto& e : expected) {
        const HWND control = controlOf(window, e.control);
        ASSERT_NE(control, nullptr) << "no control " << narrow(nameOf(e.control));
        EXPECT_EQ(textOf(control), e.text) << narrow(nameOf(e.control));
        EXPECT_TRUE(IsWindowVisible(control)) << narrow(nameOf(e.control));
    }

    // A screen reader reads each caption right before its value; the focus moves as before.
    const auto ids = [](std::initializer_list<Main> controls) {
        std::vector<int> result;
        for (const Main c : controls) result.push_back(controlIdBase + static_cast<int>(c));
        return result;
    };
    EXPECT_EQ(idsInCreationOrder(window),
              ids({Main::lbltext, Main::lblcomputername, Main::lbltext2, Main::lblusername, Main::lbltext3, Main::lbldate,
                   Main::lbltext4, Main::lblNUMBER, Main::Text1, Main::cmdabout, Main::cmdexit, Main::cmdQuickInfo}));
    EXPECT_EQ(idsInCreationOrder(window, true), ids({Main::Text1, Main::cmdabout, Main::cmdexit, Main::cmdQuickInfo}));
    exitWithEsc(window);
}

// A user name outside the ANSI code page (Wine takes it from the Unix environment) is
// shown as it is, not as look-alikes or question marks.
TEST_F(MainWindowTexts, ShowAUserNameOutsideTheCodePage)
{
    const std::wstring name = L"\u0141ukasz \u540d\u524d"; // Łukasz 名前
    const HWND window = startToMainWindow(std::make_unique<Product>(exeDir(), workingDir(), UnixVariable{L"USER", name}));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(textOf(controlOf(window, Main::lblusername)), name + L" ");
    exitWithEsc(window);
}

class MainWindowKeys : public ProductTest {
protected:
    // Presses a key and expects the focus on `expected` afterwards.
    void expectFocusAfter(const char* key, const std::function<void()>& press, Main expected)
    {
        press();
        expectFocusOn(window_, expected, key);
    }
    void tab() { product().postKey(VK_TAB); }
    void shiftTab() { ASSERT_TRUE(product().sendShiftTab()) << "SendInput failed, error " << GetLastError(); }

    HWND window_ = nullptr;
};

TEST_F(MainWindowKeys, FocusStartsOnQuickInfoAndTabSkipsTheTextBox)
{
    window_ = startToMainWindow();
    ASSERT_NE(window_, nullptr);
    expectFocusOn(window_, Main::cmdQuickInfo, "after the start");
    ASSERT_FALSE(HasFailure());

    // Backwards first: it is the only way from Quick Info to the other buttons.
    expectFocusAfter("Shift+Tab", [&] { shiftTab(); }, Main::cmdexit);
    expectFocusAfter("Shift+Tab", [&] { shiftTab(); }, Main::cmdabout);
    expectFocusAfter("Shift+Tab from cmdabout (via Text1)", [&] { shiftTab(); }, Main::cmdQuickInfo);
    expectFocusAfter("Shift+Tab", [&] { shiftTab(); }, Main::cmdexit);
    expectFocusAfter("Shift+Tab", [&] { shiftTab(); }, Main::cmdabout);

    expectFocusAfter("Tab from cmdabout", [&] { tab(); }, Main::cmdexit);
    expectFocusAfter("Tab from cmdexit", [&] { tab(); }, Main::cmdQuickInfo);
    // Tab from Quick Info lands on Text1, which hands the focus back at once. The focus
    // does not move, so the next key shows where it really was: only from Quick Info
    // does Shift+Tab reach cmdexit.
    tab();
    expectFocusAfter("Tab from cmdQuickInfo (via Text1), then Shift+Tab", [&] { shiftTab(); }, Main::cmdexit);

    // The text box never keeps the focus, so it has no caret.
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info));
    EXPECT_NE(info.hwndCaret, controlOf(window_, Main::Text1));

    exitWithEsc(window_);
}

// Started minimized, as a Startup shortcut set to "Run: Minimized" starts it: the window is
// not activated, yet shows the log blanked; restored, it gives Quick Info the focus.
TEST_F(MainWindowKeys, StartedMinimizedShowsTheLogBlankedAndRestoresTheFocus)
{
    window_ = startToMainWindow(std::make_unique<Product>(exeDir(), workingDir(), ShowCommand{SW_SHOWMINNOACTIVE}));
    ASSERT_NE(window_, nullptr);
    if (!IsIconic(window_)) GTEST_SKIP() << "this system shows the window as it is, not as its starter asks";
    EXPECT_NE(product().active(), window_) << "started minimized, the window should not be activated";
    const std::optional<std::string> log = readBytes(logPath());
    ASSERT_TRUE(log.has_value());
    ASSERT_NE(log->find('"'), std::string::npos);
    EXPECT_EQ(textOf(controlOf(window_, Main::Text1)), blanked(*log));

    ASSERT_TRUE(restoreWindow(window_)) << "the window was not restored";
    expectFocusOn(window_, Main::cmdQuickInfo, "after restoring");
    exitWithEsc(window_);
}

// The log: scrolled by the page keys, Ctrl+Home and Ctrl+End, and the wheel over it, while
// the focus stays on Quick Info.
TEST_F(MainWindowKeys, PageKeysAndTheWheelScrollTheLog)
{
    std::string log;
    for (int i = 1; i <= 40; ++i) log += recordLine(shortDate(today()), L"06:00:00", std::to_wstring(i));
    ASSERT_TRUE(writeBytes(logPath(), log));
    window_ = startToMainWindow();
    ASSERT_NE(window_, nullptr);
    expectFocusOn(window_, Main::cmdQuickInfo, "after the start");
    const HWND text1 = controlOf(window_, Main::Text1);
    const auto firstLine = [&] { return static_cast<int>(SendMessageW(text1, EM_GETFIRSTVISIBLELINE, 0, 0)); };
    RECT box{};
    GetWindowRect(text1, &box);
    const POINT overTheLog{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    ASSERT_EQ(firstLine(), 0) << "the log should open at its top";

    enum class Moves { toTheEnd, up, down, toTheTop };
    const struct {
        const char* name;
        std::function<bool()> press;
        Moves moves;
    } steps[] = {
        {"Ctrl+End", [&] { return product().sendChord({VK_CONTROL, VK_END}); }, Moves::toTheEnd},
        {"Page Up", [&] { product().postKey(VK_PRIOR); return true; }, Moves::up},
        {"Page Down", [&] { product().postKey(VK_NEXT); return true; }, Moves::down},
        {"Ctrl+Home", [&] { return product().sendChord({VK_CONTROL, VK_HOME}); }, Moves::toTheTop},
        {"wheel down over the log", [&] { return product().sendWheel(overTheLog, -WHEEL_DELTA); }, Moves::down},
        {"wheel up over the log", [&] { return product().sendWheel(overTheLog, WHEEL_DELTA); }, Moves::up},
    };
    for (const auto& step : steps) {
        const int before = firstLine();
        ASSERT_TRUE(step.press()) << step.name << ": input failed, error " << GetLastError();
        int after = before;
        for (int tries = 0; tries < 50 && after == before; ++tries, Sleep(20)) after = firstLine();
        switch (step.moves) {
        case Moves::toTheEnd: EXPECT_GT(after, 40) << step.name << ": 40 records take two lines each"; break;
        case Moves::up: EXPECT_LT(after, before) << step.name; break;
        case Moves::down: EXPECT_GT(after, before) << step.name; break;
        case Moves::toTheTop: EXPECT_EQ(after, 0) << step.name; break;
        }
        expectFocusOn(window_, Main::cmdQuickInfo, step.name);
    }
    exitWithEsc(window_);
}

// How far the pixels on screen under `icon` are from the system icon `which`.
double iconDistance(HWND icon, LPCWSTR which)
{
    RECT r{};
    GetWindowRect(icon, &r);
    const int w = GetSystemMetrics(SM_CXICON), h = GetSystemMetrics(SM_CYICON);
    const std::vector<COLORREF> shot = pixelsOnScreen(RECT{r.left, r.top, r.left + w, r.top + h});
    if (shot.empty()) return 1.0;

    // The icon drawn on the background the box paints, which its transparent corner shows.
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP drawn = CreateCompatibleBitmap(screen, w, h);
    const HGDIOBJ old = SelectObject(dc, drawn);
    const HBRUSH fill = CreateSolidBrush(shot[0]);
    const RECT all{0, 0, w, h};
    FillRect(dc, &all, fill);
    DrawIconEx(dc, 0, 0, LoadIconW(nullptr, which), w, h, 0, nullptr, DI_NORMAL);
    const std::vector<COLORREF> expected = pixelsOf(dc, 0, 0, w, h);
    SelectObject(dc, old);
    DeleteObject(fill);
    DeleteObject(drawn);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);

    int differing = 0;
    for (std::size_t i = 0; i < shot.size() && i < expected.size(); ++i) {
        for (int shift = 0; shift < 24; shift += 8) {
            const int a = static_cast<int>((shot[i] >> shift) & 0xFF), b = static_cast<int>((expected[i] >> shift) & 0xFF);
            if (std::abs(a - b) > 24) {
                ++differing;
                break;
            }
        }
    }
    return static_cast<double>(differing) / (w * h);
}

// Enter presses the focused button, also once the window is restored from minimized;
// Space and Alt+Q press Quick Info by other ways.
const KeyPress quickInfoCases[] = {
    {"Enter", [](Product& p) { p.postKey(VK_RETURN); }},
    {"EnterAfterMinimizeAndRestore",
     [](Product& p) {
         for (const HWND window : p.windowsOf(mainClass))
             EXPECT_TRUE(minimizeWindow(window) && restoreWindow(window)) << "not minimized and restored";
         p.postKey(VK_RETURN);
     }},
    {"Space", [](Product& p) { p.postKey(VK_SPACE); }},
    {"AltQ", [](Product& p) { p.postAltKey(L'q'); }},
};

class QuickInfo : public ProductTest, public ::testing::WithParamInterface<KeyPress> {};

TEST_P(QuickInfo, ShowsUptimeAndVersionInAnInformationBox)
{
    const HWND window = startToMainWindow();
    ASSERT_NE(window, nullptr);
    expectFocusOn(window, Main::cmdQuickInfo, "after the start");
    ASSERT_FALSE(HasFailure());

    const DWORD before = GetTickCount();
    GetParam().press(product());
    const std::wstring caption = L"Kestrevane QuickInfo";
    const HWND box = product().waitForWindow(dialogClass, &caption, 10000);
    const DWORD after = GetTickCount();
    ASSERT_NE(box, nullptr) << "no \"Kestrevane QuickInfo\" box within 10 s of " << GetParam().name << "; the program "
                            << narrow(product().state());
    EXPECT_EQ(GetWindow(box, GW_OWNER), window) << "the box should belong to the main window";
    EXPECT_FALSE(IsWindowEnabled(window)) << "the main window takes input while the box is open";

    HWND text = nullptr, icon = nullptr;
    std::vector<HWND> buttons;
    for (HWND child : childrenOf(box)) {
        if (!IsWindowVisible(child)) continue;
        const std::wstring cls = classOf(child);
        if (_wcsicmp(cls.c_str(), L"Button") == 0) buttons.push_back(child);
        if (_wcsicmp(cls.c_str(), L"Static") == 0) {
            if ((idOf(child) & 0xFFFF) == 0xFFFF) text = child;
            if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) icon = child;
        }
    }
    ASSERT_EQ(buttons.size(), 1u) << "the box should have one button";
    EXPECT_EQ(idOf(buttons[0]), IDOK);
    EXPECT_EQ(textOf(buttons[0]), L"OK");
    ASSERT_NE(text, nullptr) << "no message text in the box";

    const std::wstring message = textOf(text);
    const std::wregex form(L"\\[ Boot info \\]\r\nHours since reboot: (\\d{2,}):(\\d\\d):(\\d\\d)\r\n\r\n"
                           L"\\[ Your system \\]\r\n([\\s\\S]*)");
    std::wsmatch m;
    ASSERT_TRUE(std::regex_match(message, m, form)) << ::testing::PrintToString(message);

    const long long shown = std::stoll(m[1].str()) * 3600 + std::stoll(m[2].str()) * 60 + std::stoll(m[3].str());
    EXPECT_LT(std::stoi(m[2].str()), 60);
    EXPECT_LT(std::stoi(m[3].str()), 60);
    // Both processes read the same tick count; the shown one is rounded to seconds.
    EXPECT_GE(shown, static_cast<long long>(before / 1000)) << "uptime shown below the uptime at the key press";
    EXPECT_LE(shown, static_cast<long long>(after / 1000) + 1) << "uptime shown above the uptime when the box came";

    const VersionProbeRun probe = runVersionProbe();
    ASSERT_TRUE(probe.version.has_value()) << narrow(probe.error);
    const ReportedVersion& v = *probe.version;
    const WindowsRelease* release = releaseFor(v);
    ASSERT_NE(release, nullptr) << "no release in the table for version " << v.major << "." << v.minor
                                << ", platform " << v.platform;
    EXPECT_EQ(m[4].str(), expectedVersionReport(release->releaseName, v));

    ASSERT_NE(icon, nullptr) << "the box shows no icon";
    // The information icon is what is on screen, nearer than any other message box icon.
    double distance = 1;
    for (int tries = 0; tries < 20 && distance > 0.05; ++tries, Sleep(100))
        distance = iconDistance(icon, IDI_INFORMATION);
    EXPECT_LT(distance, 0.05) << "the icon on screen is not the information icon";
    for (const LPCWSTR other : {IDI_ERROR, IDI_WARNING, IDI_QUESTION})
        EXPECT_LT(distance, iconDistance(icon, other)) << "the icon looks like another message box icon";

    product().postKey(VK_RETURN);
    ASSERT_TRUE(product().waitUntilGone(box)) << "Enter did not close the box";
    EXPECT_TRUE(IsWindowEnabled(window));
    expectFocusOn(window, Main::cmdQuickInfo, "after the box closed");
    exitWithEsc(window);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, QuickInfo, ::testing::ValuesIn(quickInfoCases),
                         [](const ::testing::TestParamInfo<KeyPress>& row) { return std::string(row.param.name); });

// ---- Colours: as designed, or with High Contrast on (which Wine never reports: a test
// build is told so) the theme's, in both windows.

// Text and background as the screen shows them.
using TextColours = std::array<COLORREF, 2>;

TextColours onScreen(const ui::ShownColours& shown)
{
    const auto colour = [](const ui::Colour& c, int none) {
        if (c.kind == ui::Colour::Kind::rgb) return RGB(c.red, c.green, c.blue);
        return GetSysColor(c.kind == ui::Colour::Kind::system ? c.systemIndex : none);
    };
    return {colour(shown.text, COLOR_BTNTEXT), colour(shown.background, COLOR_BTNFACE)};
}

// How far a pixel is from the nearest mix of text and background (the font's smoothing mixes them).
double offTheMixes(COLORREF pixel, const TextColours& c)
{
    double p[3], from[3], to[3], along = 0, length = 0, distance = 0;
    for (int i = 0, shift = 0; i < 3; ++i, shift += 8) {
        p[i] = (pixel >> shift) & 0xFF, to[i] = (c[0] >> shift) & 0xFF, from[i] = (c[1] >> shift) & 0xFF;
        along += (p[i] - from[i]) * (to[i] - from[i]);
        length += (to[i] - from[i]) * (to[i] - from[i]);
    }
    const double t = length > 0 ? std::clamp(along / length, 0.0, 1.0) : 0.0;
    for (int i = 0; i < 3; ++i) distance += std::pow(p[i] - from[i] - t * (to[i] - from[i]), 2);
    return std::sqrt(distance);
}

// The control shows the expected background most, and text nearer to the expected
// colours than to those of the other setting.
void expectColours(HWND control, const ui::ShownColours& expected, const ui::ShownColours& other, const std::string& what)
{
    const TextColours want = onScreen(expected), unwanted = onScreen(other);
    RECT client{};
    GetClientRect(control, &client);
    MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&client), 2);
    std::map<COLORREF, int> counts;
    const auto mostSeen = [&] {
        return std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; });
    };
    int text = 0, nearer = 0;
    // Until the control is painted in the new colours: a busy machine repaints late.
    for (int tries = 0; tries < 20 && (text < 10 || nearer * 4 < text * 3 || mostSeen()->first != want[1]);
         ++tries, Sleep(100)) {
        counts.clear();
        for (const COLORREF pixel : pixelsOnScreen(client)) ++counts[pixel];
        text = nearer = 0;
        for (const auto& [colour, n] : counts) {
            if (colour == want[1]) continue;
            text += n;
            if (want == unwanted || offTheMixes(colour, want) < offTheMixes(colour, unwanted)) nearer += n;
        }
    }
    ASSERT_FALSE(counts.empty()) << what;
    const auto most = mostSeen();
    EXPECT_EQ(most->first, want[1]) << what << ": background " << std::hex << most->first;
    EXPECT_GE(text, 10) << what << ": no text to be seen";
    EXPECT_GE(nearer * 4, text * 3) << what << ": " << nearer << " of " << text << " text pixels of " << std::hex << want[0];
}

class Colours : public ProductTest, public ::testing::WithParamInterface<bool> {};

TEST_P(Colours, OfTheDesignOrTheTheme)
{
    const bool on = GetParam();
    const HWND window = startToMainWindow(on ? std::make_unique<Product>(exeDir(), workingDir(), InjectedFault{L"high-contrast"})
                                             : std::make_unique<Product>(exeDir(), workingDir()));
    ASSERT_NE(window, nullptr);
    const ui::FormColours main = ui::formColours(ui::frmmainLayout(), on), mainOther = ui::formColours(ui::frmmainLayout(), !on);
    for (const Main c : {Main::lbltext, Main::lblcomputername, Main::lbldate, Main::lblNUMBER, Main::Text1}) {
        const auto i = static_cast<std::size_t>(c);
        expectColours(controlOf(window, c), main.controls[i], mainOther.controls[i], narrow(nameOf(c)));
    }

    product().postAltKey(L'a');
    const HWND about = product().waitForWindow(aboutClass, nullptr, 10000);
    ASSERT_NE(about, nullptr) << "no About window; the program " << narrow(product().state());
    const int link = static_cast<int>(ui::AboutControl::lblurl);
    expectColours(controlOf(about, link), ui::formColours(ui::frmaboutLayout(), on).controls[link],
                  ui::formColours(ui::frmaboutLayout(), !on).controls[link], "lblurl");
    product().postKey(VK_ESCAPE);
    ASSERT_TRUE(product().waitUntilGone(about));
    expectFocusOn(window, Main::cmdabout, "after About closed");
    exitWithEsc(window);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, Colours, ::testing::Bool(), [](const ::testing::TestParamInfo<bool>& row) {
    return std::string(row.param ? "HighContrast" : "Designed");
});

} // namespace
} // namespace kestrevane::e2e
