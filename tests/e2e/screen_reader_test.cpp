// What a screen reader reads of both windows, asked of the accessibility layer: each
// caption before its value, the log box by its own name, the buttons by their texts.
#include <oleacc.h>

#include <algorithm>

#include "accessibility_layer.h"
#include "app_info.h"
#include "e2e_config.h"
#include "product_test.h"
#include "ui/layout.h"

namespace kestrevane::e2e {
namespace {

struct ReadCase {
    const char* name;
    bool about;
};

void PrintTo(const ReadCase& row, std::ostream* os) { *os << row.name; }

const ReadCase readCases[] = {
    {"MainWindow", false},
    {"About", true},
};

// A reader voices no trailing blank, and a layer may keep or drop the value fields' one.
std::wstring trimmed(std::wstring text)
{
    while (!text.empty() && text.back() == L' ') text.pop_back();
    return text;
}

std::wstring utf8(std::string_view text) { return widen(std::string(text), CP_UTF8); }

// The names in reading order: the design's texts (a button's without its access key's
// marker), and for the controls filled at run time the texts the program puts there.
std::vector<std::wstring> namesToRead(const ui::WindowSpec& design, const std::vector<std::wstring>& filled)
{
    std::vector<std::wstring> names;
    for (const std::size_t i : ui::creationOrder(design)) {
        const ui::ControlSpec& c = design.controls[i];
        std::wstring text = c.text.empty() ? filled[i] : utf8(c.text);
        if (c.kind == ui::ControlKind::button) std::erase(text, L'&');
        names.push_back(trimmed(text));
    }
    return names;
}

std::vector<std::wstring> mainWindowNames()
{
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD computerSize = MAX_COMPUTERNAME_LENGTH + 1;
    wchar_t user[257];
    DWORD userSize = 257;
    if (!GetComputerNameW(computer, &computerSize) || !GetUserNameW(user, &userSize)) return {};
    std::vector<std::wstring> filled(ui::frmmainLayout().controls.size());
    filled[static_cast<std::size_t>(Main::lblcomputername)] = computer;
    filled[static_cast<std::size_t>(Main::lblusername)] = user;
    filled[static_cast<std::size_t>(Main::lbldate)] = shortDate(today());
    filled[static_cast<std::size_t>(Main::lblNUMBER)] = L"1";
    filled[static_cast<std::size_t>(Main::Text1)] = utf8(ui::text1AccessibleName);
    return namesToRead(ui::frmmainLayout(), filled);
}

std::vector<std::wstring> aboutNames()
{
    using ui::AboutControl;
    std::vector<std::wstring> filled(ui::frmaboutLayout().controls.size());
    filled[static_cast<std::size_t>(AboutControl::lblprogtitle)] = utf8(app::title);
    filled[static_cast<std::size_t>(AboutControl::lblversion)] = versionText;
    filled[static_cast<std::size_t>(AboutControl::lblcopyright)] =
        utf8(app::copyrightPrefix) + std::to_wstring(today().wYear);
    return namesToRead(ui::frmaboutLayout(), filled);
}

class ScreenReader : public ProductTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ScreenReader, ReadsTheWindowInItsOrder)
{
    const ReadCase& row = GetParam();
    const HWND window = startToMainWindow();
    ASSERT_NE(window, nullptr);
    HWND read = window;
    if (row.about) {
        product().postAltKey(L'a');
        read = product().waitForWindow(aboutClass, nullptr, 10000);
        ASSERT_NE(read, nullptr) << "no About window; the program " << narrow(product().state());
    }
    std::vector<std::wstring> designed = row.about ? aboutNames() : mainWindowNames();
    ASSERT_FALSE(designed.empty()) << "the computer or user name cannot be read, error " << GetLastError();
    const LayerReading reading = readChildren(read);
    if (row.about) {
        product().postKey(VK_ESCAPE);
        ASSERT_TRUE(product().waitUntilGone(read));
        // Esc goes to the focus, which must be back first.
        expectFocusOn(window, Main::cmdabout, "after About closed");
    }
    exitWithEsc(window);
    if (!reading.lack.empty()) GTEST_SKIP() << "the layer gives no children here: " << narrow(reading.lack);

    std::vector<std::wstring> names;
    for (const std::wstring& name : reading.names) names.push_back(trimmed(name));
    // The log box's name is a Dynamic Annotation: a fault only where the layer keeps those.
    const std::vector<std::size_t> order = ui::creationOrder(ui::frmmainLayout());
    const auto logBox = std::find(order.begin(), order.end(), static_cast<std::size_t>(Main::Text1)) - order.begin();
    std::wstring logBoxLack;
    if (!row.about && names.size() == designed.size() && names[logBox] != designed[logBox]) {
        logBoxLack = annotationLack();
        if (!logBoxLack.empty()) {
            logBoxLack = L"the log box is called \"" + reading.names[logBox] + L"\", not \"" + designed[logBox] +
                         L"\": this layer keeps no Dynamic Annotation (" + logBoxLack + L")";
            names.erase(names.begin() + logBox);
            designed.erase(designed.begin() + logBox);
        }
    }
    EXPECT_EQ(names, designed);
    if (!logBoxLack.empty() && !HasFailure()) GTEST_SKIP() << "all else read as designed; " << narrow(logBoxLack);
    // The link is read as one, a role that is a Dynamic Annotation too.
    const std::vector<std::size_t> about = ui::creationOrder(ui::frmaboutLayout());
    const auto link = std::find(about.begin(), about.end(), std::size_t(ui::AboutControl::lblurl)) - about.begin();
    if (row.about && reading.roles.at(link) != ROLE_SYSTEM_LINK) {
        const std::wstring lack = annotationLack();
        ASSERT_FALSE(lack.empty()) << "the link's role is " << reading.roles[link] << ", not ROLE_SYSTEM_LINK";
        GTEST_SKIP() << "all else read as designed; the link's role is " << reading.roles[link]
                     << ", as this layer keeps no Dynamic Annotation (" << narrow(lack) << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(Accessibility, ScreenReader, ::testing::ValuesIn(readCases),
                         [](const ::testing::TestParamInfo<ReadCase>& row) { return std::string(row.param.name); });

} // namespace
} // namespace kestrevane::e2e
