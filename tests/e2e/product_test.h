// A test that starts the program in a folder of its own and looks at it from outside.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "product.h"

namespace kestrevane::e2e {

inline constexpr wchar_t mainClass[] = L"KestrevaneMain";
inline constexpr wchar_t aboutClass[] = L"KestrevaneAbout";
inline constexpr wchar_t dialogClass[] = L"#32770";
inline constexpr int controlIdBase = 100;

// The main window's controls, in the order their ids are given.
enum class Main : int {
    lbltext,
    lblcomputername,
    lbltext2,
    lblusername,
    lbltext3,
    lbldate,
    lbltext4,
    lblNUMBER,
    Text1,
    cmdabout,
    cmdexit,
    cmdQuickInfo,
};

const wchar_t* nameOf(Main control);
HWND controlOf(HWND window, int index);
inline HWND controlOf(HWND window, Main control) { return controlOf(window, static_cast<int>(control)); }
// The control a focus handle belongs to, for failure messages.
std::wstring describeFocus(HWND window, HWND focus);

// The log text as the text box shows it: every quotation mark and comma a blank.
std::wstring blanked(const std::string& logBytes);

// A calendar day with its weekday filled in.
SYSTEMTIME civilDay(int year, int month, int day);
bool sameDay(const SYSTEMTIME& a, const SYSTEMTIME& b);

// A message box of the program as the user sees it; `box` is null when none came.
struct MessageBoxSeen {
    HWND box = nullptr;
    std::wstring text;
    int buttons = 0;
};
MessageBoxSeen waitForMessageBox(const Product& product, const std::wstring& caption);

// The text with every character that means something in a regular expression escaped.
std::wstring regexEscaped(const std::wstring& text);

class ProductTest : public ::testing::Test {
protected:
    void SetUp() override;

    std::wstring exeDir() const { return scratch_.file(L"bin"); }
    std::wstring logPath() const { return exeDir() + L"\\kestrevane.kvn"; }
    std::wstring workingDir() const { return scratch_.path(); }

    // Starts the program; its main window, or null after a failure was recorded.
    HWND startToMainWindow();
    Product& product() { return *product_; }

    // Expects the focus on the main window's `control` (waiting for it a moment).
    void expectFocusOn(HWND window, Main control, const char* when);

    // Presses Esc and expects a clean end with exit code 0.
    void exitWithEsc(HWND window);

    ScratchDir scratch_;
    std::unique_ptr<Product> product_;
};

} // namespace kestrevane::e2e
