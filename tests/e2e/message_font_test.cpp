// Both windows under message fonts larger than Wine's own (Windows' Segoe UI, East Asian
// UI fonts, a larger text size): every control in that font shows a whole line of it, and
// no control runs into another; under Wine's own font they are as designed.
#include <optional>

#include "product_test.h"
#include "ui/layout.h"

namespace kestrevane::e2e {
namespace {

// The message font as this process read it at its start, before any test changed it.
LOGFONTW startingMessageFont()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(metrics.lfMessageFont);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    return metrics.lfMessageFont;
}

// How high one line of `font` is where a label draws it.
int lineOf(const LOGFONTW& font)
{
    const HFONT created = CreateFontIndirectW(&font);
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(screen, created);
    RECT r{0, 0, 0, 0};
    DrawTextW(screen, L"\u00c9gjpqy", -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    DeleteObject(created);
    return r.bottom - r.top;
}

// The message font's face at the size whose line is `line` pixels high.
std::optional<LOGFONTW> messageFontWithLine(int line)
{
    LOGFONTW font = startingMessageFont();
    for (font.lfHeight = -6; font.lfHeight >= -96; --font.lfHeight)
        if (lineOf(font) == line) return font;
    return std::nullopt;
}

int screenDpi()
{
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

std::string describe(const RECT& r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

// Each control of the window's font is a line high inside its edges (a button's text
// within its focus rectangle: outline, frame and the rectangle, each side), lies within
// the window's height and clear of every other. (Captions in a font of their own are as
// wide as their text in whatever face stands in for it, which the layout cannot know.)
void expectWholeLines(HWND window, const ui::WindowSpec& design, int line, const char* what)
{
    RECT client{};
    GetClientRect(window, &client);
    std::vector<std::pair<std::string_view, RECT>> placed;
    for (const ui::ControlSpec& c : design.controls) {
        const HWND control = controlOf(window, c.id);
        ASSERT_NE(control, nullptr) << what << ": no " << c.name;
        RECT inside{}, where{};
        GetClientRect(control, &inside);
        GetWindowRect(control, &where);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&where), 2);
        EXPECT_LE(where.bottom, client.bottom) << what << ": " << c.name << " below the window";
        if (!c.font.face.empty()) continue;
        const int needed = line + (c.kind == ui::ControlKind::button ? 2 * (1 + 2 + 1) : 0);
        EXPECT_GE(inside.bottom, needed) << what << ": " << c.name << " for a " << line << "-px line";
        for (const auto& [name, other] : placed) {
            RECT both{};
            EXPECT_FALSE(IntersectRect(&both, &where, &other))
                << what << ": " << c.name << " " << describe(where) << " runs into " << name << " " << describe(other);
        }
        placed.emplace_back(c.name, where);
    }
}

struct TextSize {
    const char* name;
    int line;       // of the message font; 0: Wine's own
    bool whileOpen; // changed while the program runs, or before it starts
};

void PrintTo(const TextSize& row, std::ostream* os) { *os << row.name; }

const TextSize textSizes[] = {
    {"WinesOwnFont", 0, false},
    {"SegoeUiLine16", 16, false},
    {"EastAsianLine19", 19, false},
    {"LargerTextLine24", 24, false},
    {"LargerTextLine24WhileOpen", 24, true},
};

class MessageFont : public ProductTest, public ::testing::WithParamInterface<TextSize> {};

TEST_P(MessageFont, ShowsAWholeLineInEveryControl)
{
    const TextSize& row = GetParam();
    LOGFONTW font = startingMessageFont();
    if (row.line) {
        const std::optional<LOGFONTW> larger = messageFontWithLine(row.line);
        ASSERT_TRUE(larger.has_value()) << "no size of " << narrow(font.lfFaceName) << " has a " << row.line
                                        << "-px line";
        font = *larger;
    }
    // Wine reads the message font from here, as a LOGFONTW at 96 dpi, when a process starts.
    std::optional<UserRegistryValue> setting;
    const auto setFont = [&] {
        setting.emplace(L"Control Panel\\Desktop\\WindowMetrics", L"MessageFont", REG_BINARY, &font,
                        static_cast<DWORD>(sizeof font));
        return setting->error();
    };
    if (row.line && !row.whileOpen) {
        ASSERT_EQ(narrow(setFont()), "");
    }

    // Wine gives a running program no new setting, so the test build reads it anew.
    const HWND window = startToMainWindow(
        row.whileOpen ? std::make_unique<Product>(exeDir(), workingDir(), InjectedFault{L"message-font-from-registry"})
                      : std::make_unique<Product>(exeDir(), workingDir()));
    ASSERT_NE(window, nullptr);
    if (row.whileOpen) {
        RECT before{}, after{};
        GetWindowRect(window, &before);
        ASSERT_EQ(narrow(setFont()), "");
        DWORD_PTR result = 0;
        ASSERT_NE(SendMessageTimeoutW(window, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS,
                                      reinterpret_cast<LPARAM>(L"WindowMetrics"), SMTO_ABORTIFHUNG, 5000, &result),
                  0)
            << "the program did not answer WM_SETTINGCHANGE";
        GetWindowRect(window, &after);
        EXPECT_EQ(after.left, before.left) << "the window should keep its place";
        EXPECT_EQ(after.top, before.top) << "the window should keep its place";
    }
    const int line = lineOf(font);
    expectWholeLines(window, ui::frmmainLayout(), line, "main window");
    product().postAltKey(L'a');
    const HWND about = product().waitForWindow(aboutClass, nullptr, 10000);
    ASSERT_NE(about, nullptr) << "no About window; the program " << narrow(product().state());
    expectWholeLines(about, ui::frmaboutLayout(), line, "About");

    if (!row.line) {
        // Wine's own font fits the design, so both windows keep their designed size.
        const int dpi = screenDpi();
        for (const auto& [shown, design] : {std::pair{window, &ui::frmmainLayout()}, std::pair{about, &ui::frmaboutLayout()}}) {
            RECT client{};
            GetClientRect(shown, &client);
            EXPECT_EQ(client.right, ui::twipsToPixels(design->clientWidth, dpi)) << narrow(textOf(shown));
            EXPECT_EQ(client.bottom, ui::twipsToPixels(design->clientHeight, dpi)) << narrow(textOf(shown));
        }
    }
    // Esc goes where the focus is: on Ok, once About has given it.
    const HWND ok = controlOf(about, static_cast<int>(ui::AboutControl::cmdok));
    ASSERT_EQ(product().waitForFocus(ok), ok) << "About's Ok should have the focus";
    product().postKey(VK_ESCAPE);
    ASSERT_TRUE(product().waitUntilGone(about));
    // And back on the button that opened About.
    expectFocusOn(window, Main::cmdabout, "after About closed");
    exitWithEsc(window);
}

INSTANTIATE_TEST_SUITE_P(Layout, MessageFont, ::testing::ValuesIn(textSizes),
                         [](const ::testing::TestParamInfo<TextSize>& row) { return std::string(row.param.name); });

} // namespace
} // namespace kestrevane::e2e
