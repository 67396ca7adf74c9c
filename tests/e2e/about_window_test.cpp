// The About window: what it shows, that it is modal, and the keys that close it.
#include "e2e_config.h"
#include "product_test.h"

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
    // Read from top to bottom, as it is laid out; Ok is its one tab stop.
    std::vector<int> topToBottom;
    for (int i = 0; i < static_cast<int>(std::size(expected)); ++i) topToBottom.push_back(controlIdBase + i);
    EXPECT_EQ(idsInCreationOrder(about), topToBottom);
    EXPECT_EQ(idsInCreationOrder(about, true), std::vector<int>{controlIdBase + 8});
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

} // namespace
} // namespace kestrevane::e2e
