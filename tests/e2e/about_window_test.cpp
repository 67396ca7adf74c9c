// The About window: what it shows, that it is modal, and the keys that close it.
#include <cctype>

#include "e2e_config.h"
#include "product_test.h"
#include "ui/layout.h"

namespace kestrevane::e2e {
namespace {

const KeyPress closeCases[] = {
    {"Esc", [](Product& p) { p.postKey(VK_ESCAPE); }},
    {"Enter", [](Product& p) { p.postKey(VK_RETURN); }},
    {"AltO", [](Product& p) { p.postAltKey(L'o'); }},
};

class AboutWindow : public ProductTest, public ::testing::WithParamInterface<KeyPress> {};

TEST_P(AboutWindow, AltAOpensItModalAndTheKeyClosesIt)
{
    const HWND window = startToMainWindow();
    ASSERT_NE(window, nullptr);
    expectFocusOn(window, Main::cmdQuickInfo, "after the start");
    const std::wstring logText = textOf(controlOf(window, Main::Text1));

    product().postAltKey(L'a');
    const HWND about = product().waitForWindow(aboutClass, nullptr, 10000);
    ASSERT_NE(about, nullptr) << "no About window within 10 s of Alt+A; the program " << narrow(product().state());
    SYSTEMTIME now;
    GetLocalTime(&now);

    EXPECT_EQ(textOf(about), L"About");
    EXPECT_EQ(GetWindow(about, GW_OWNER), window) << "About should be owned by the main window";
    EXPECT_FALSE(IsWindowEnabled(window)) << "the main window takes input while About is open";

    const std::wstring expected[] = {
        L"Kestrevane",
        versionText,
        L"Copyright \u00a9 " + std::to_wstring(now.wYear),
        L"The Kestrevane developers",
        L"Play and enjoy!",
        L"For updates and other freeware,",
        L"Visit my homepage at",
        homePage,
        L"&Ok",
    };
    for (int i = 0; i < static_cast<int>(std::size(expected)); ++i) {
        const HWND control = controlOf(about, i);
        ASSERT_NE(control, nullptr) << "no control with id " << controlIdBase + i;
        EXPECT_EQ(textOf(control), expected[i]) << "control " << controlIdBase + i;
        EXPECT_TRUE(IsWindowVisible(control)) << "control " << controlIdBase + i;
    }
    // Read from top to bottom, as it is laid out; the link and Ok are its tab stops.
    std::vector<int> topToBottom;
    for (int i = 0; i < static_cast<int>(std::size(expected)); ++i) topToBottom.push_back(controlIdBase + i);
    EXPECT_EQ(idsInCreationOrder(about), topToBottom);
    EXPECT_EQ(idsInCreationOrder(about, true), (std::vector<int>{controlIdBase + 7, controlIdBase + 8}));
    const HWND ok = controlOf(about, 8);
    const HWND seen = product().waitForFocus(ok);
    EXPECT_EQ(seen, ok) << "focus in About on " << narrow(classOf(seen)) << " " << idOf(seen) << ", expected cmdok";

    GetParam().press(product());
    ASSERT_TRUE(product().waitUntilGone(about)) << "About is still open";
    EXPECT_TRUE(IsWindowEnabled(window)) << "the main window stays disabled after About closed";
    EXPECT_TRUE(IsWindowVisible(window));
    // Its access key gave the About button the focus, and it has it back.
    expectFocusOn(window, Main::cmdabout, "after About closed");
    EXPECT_EQ(textOf(controlOf(window, Main::Text1)), logText);
    exitWithEsc(window);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, AboutWindow, ::testing::ValuesIn(closeCases),
                         [](const ::testing::TestParamInfo<KeyPress>& row) { return std::string(row.param.name); });

// HKCR's handler of web addresses made one that writes the address it is given to
// `record`, for as long as it lives. (Wine's classes take no handler of the user's own.)
struct AddressRecorder {
    static constexpr wchar_t key[] = L"https\\shell\\open\\command";
    std::wstring old = std::wstring(1024, L'\0');
    bool hadOld = false, registered = false;

    explicit AddressRecorder(const std::wstring& record)
    {
        DWORD size = static_cast<DWORD>(old.size() * sizeof(wchar_t));
        hadOld = RegGetValueW(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, old.data(), &size) == ERROR_SUCCESS;
        old.resize(hadOld ? size / sizeof(wchar_t) - 1 : 0);
        wchar_t system[MAX_PATH];
        GetSystemDirectoryW(system, MAX_PATH);
        registered = set(L"\"" + std::wstring(system) + L"\\cmd.exe\" /c echo %1>\"" + record + L"\"");
    }
    ~AddressRecorder()
    {
        if (hadOld)
            set(old);
        else
            RegDeleteKeyValueW(HKEY_CLASSES_ROOT, key, nullptr);
    }
    static bool set(const std::wstring& command)
    {
        return RegSetKeyValueW(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, command.c_str(),
                               static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
};

const KeyPress linkCases[] = {
    {"Enter", [](Product& p) { p.postKey(VK_RETURN); }},
    {"Space", [](Product& p) { p.postKey(VK_SPACE); }},
    {"Click",
     [](Product& p) {
         for (const HWND about : p.windowsOf(aboutClass)) {
             RECT link{};
             GetWindowRect(controlOf(about, static_cast<int>(ui::AboutControl::lblurl)), &link);
             EXPECT_TRUE(p.sendClick({(link.left + link.right) / 2, (link.top + link.bottom) / 2}));
         }
     }},
};

class AboutLink : public ProductTest, public ::testing::WithParamInterface<KeyPress> {};

// Tab from Ok reaches the link, which shows the focus rectangle; the key or a click then
// minimizes the main window, opens the address and closes About. Restored, the main window
// gives the focus back to the About button.
TEST_P(AboutLink, TabReachesItAndItOpensTheAddress)
{
    const std::wstring record = scratch_.file(L"opened.txt");
    const AddressRecorder recorder(record);
    ASSERT_TRUE(recorder.registered) << "could not register the test's handler of web addresses";
    const HWND window = startToMainWindow();
    ASSERT_NE(window, nullptr);
    product().postAltKey(L'a');
    const HWND about = product().waitForWindow(aboutClass, nullptr, 10000);
    ASSERT_NE(about, nullptr) << "no About window within 10 s of Alt+A; the program " << narrow(product().state());
    const HWND ok = controlOf(about, static_cast<int>(ui::AboutControl::cmdok));
    const HWND link = controlOf(about, static_cast<int>(ui::AboutControl::lblurl));
    ASSERT_EQ(product().waitForFocus(ok), ok) << "Ok should have the focus at first";

    RECT area{};
    GetWindowRect(link, &area);
    const std::vector<COLORREF> before = pixelsOnScreen(area);
    product().postKey(VK_TAB);
    ASSERT_EQ(product().waitForFocus(link), link) << "Tab from Ok should reach the link";
    // The focus rectangle: dots along the edge, which the text leaves bare.
    const int w = area.right - area.left, h = area.bottom - area.top;
    int changed = 0;
    for (int tries = 0; tries < 20 && changed < w; ++tries, Sleep(100)) {
        const std::vector<COLORREF> after = pixelsOnScreen(area);
        changed = 0;
        for (int i = 0; i < w * h && after.size() == before.size(); ++i)
            changed += (i < w || i >= w * (h - 1) || i % w == 0 || i % w == w - 1) && after[i] != before[i];
    }
    EXPECT_GE(changed, w) << "no focus rectangle around the focused link";

    GetParam().press(product());
    ASSERT_TRUE(product().waitUntilGone(about)) << "About is still open";
    EXPECT_TRUE(IsIconic(window)) << "the main window should be minimized";
    std::string opened;
    for (int tries = 0; tries < 100 && opened.find('\n') == std::string::npos; ++tries, Sleep(100))
        opened = readBytes(record).value_or("");
    while (!opened.empty() && std::isspace(static_cast<unsigned char>(opened.back()))) opened.pop_back();
    EXPECT_EQ(opened, narrow(homePage)) << "the address the shell was asked to open";

    ASSERT_TRUE(restoreWindow(window)) << "the main window was not restored";
    expectFocusOn(window, Main::cmdabout, "after the main window was restored");
    exitWithEsc(window);
}

INSTANTIATE_TEST_SUITE_P(AboutWindow, AboutLink, ::testing::ValuesIn(linkCases),
                         [](const ::testing::TestParamInfo<KeyPress>& row) { return std::string(row.param.name); });

} // namespace
} // namespace kestrevane::e2e
