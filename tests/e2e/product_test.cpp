#include "product_test.h"

namespace kestrevane::e2e {

const wchar_t* nameOf(Main control)
{
    static const wchar_t* const names[] = {L"lbltext",  L"lblcomputername", L"lbltext2",  L"lblusername",
                                           L"lbltext3", L"lbldate",         L"lbltext4",  L"lblNUMBER",
                                           L"Text1",    L"cmdabout",        L"cmdexit",   L"cmdQuickInfo"};
    return names[static_cast<int>(control)];
}

HWND controlOf(HWND window, int index) { return GetDlgItem(window, controlIdBase + index); }

std::wstring describeFocus(HWND window, HWND focus)
{
    if (!focus) return L"no focus";
    for (int i = 0; i <= static_cast<int>(Main::cmdQuickInfo); ++i)
        if (controlOf(window, i) == focus) return nameOf(static_cast<Main>(i));
    return L"window of class " + classOf(focus) + L", id " + std::to_wstring(idOf(focus)) + L", text \"" +
           textOf(focus) + L"\"";
}

std::wstring blanked(const std::string& logBytes)
{
    std::wstring text = widen(logBytes);
    for (wchar_t& c : text)
        if (c == L'"' || c == L',') c = L' ';
    return text;
}

SYSTEMTIME civilDay(int year, int month, int day)
{
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = 12;
    return dayOffset(t, 0);
}

bool sameDay(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

MessageBoxSeen waitForMessageBox(const Product& product, const std::wstring& caption)
{
    MessageBoxSeen seen;
    seen.box = product.waitForWindow(dialogClass, &caption);
    if (!seen.box) return seen;
    for (HWND child : childrenOf(seen.box)) {
        if (!IsWindowVisible(child)) continue;
        if (_wcsicmp(classOf(child).c_str(), L"Button") == 0) ++seen.buttons;
        if ((idOf(child) & 0xFFFF) == 0xFFFF) seen.text = textOf(child);
    }
    return seen;
}

std::wstring regexEscaped(const std::wstring& text)
{
    std::wstring out;
    for (const wchar_t c : text) {
        if (std::wstring_view(L"\\^$.|?*+()[]{}/-").find(c) != std::wstring_view::npos) out += L'\\';
        out += c;
    }
    return out;
}

void ProductTest::SetUp()
{
    ASSERT_FALSE(scratch_.path().empty()) << "could not make a scratch folder below the temp folder";
    ASSERT_TRUE(CreateDirectoryW(exeDir().c_str(), nullptr)) << "could not make the exe folder";
    ASSERT_FALSE(productPath().empty()) << "usage: e2e_tests PATH_TO_Kestrevane.exe";
    ASSERT_NE(GetFileAttributesW(productPath().c_str()), INVALID_FILE_ATTRIBUTES)
        << "no exe at " << narrow(productPath());
}

HWND ProductTest::startToMainWindow()
{
    product_ = std::make_unique<Product>(exeDir(), workingDir());
    if (!product_->started()) {
        ADD_FAILURE() << "could not start the program: " << narrow(product_->startError());
        return nullptr;
    }
    const HWND window = product_->waitForWindow(mainClass);
    if (!window) {
        ADD_FAILURE() << "no visible " << narrow(mainClass) << " window within 15 s; the program "
                      << narrow(product_->state());
        return nullptr;
    }
    // The start-up is over once the loop answers; the focus settles with it.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    return window;
}

void ProductTest::expectFocusOn(HWND window, Main control, const char* when)
{
    const HWND expected = controlOf(window, control);
    const HWND seen = product_->waitForFocus(expected);
    EXPECT_EQ(seen, expected) << when << ": focus on " << narrow(describeFocus(window, seen)) << ", expected "
                              << narrow(nameOf(control));
}

void ProductTest::exitWithEsc(HWND window)
{
    product_->postKey(VK_ESCAPE);
    const std::optional<DWORD> code = product_->waitForExit();
    ASSERT_TRUE(code.has_value()) << "the program did not end within 15 s of Esc (terminated)";
    EXPECT_EQ(*code, 0u) << "exit code after Esc";
    EXPECT_FALSE(IsWindow(window));
}

} // namespace kestrevane::e2e
