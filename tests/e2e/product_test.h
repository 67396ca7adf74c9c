// A test that starts the program in a folder of its own and looks at it from outside.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>

#include "product.h"
#include "ui/layout.h"

namespace kestrevane::e2e {

inline constexpr wchar_t mainClass[] = L"KestrevaneMain";
inline constexpr wchar_t aboutClass[] = L"KestrevaneAbout";
inline constexpr wchar_t dialogClass[] = L"#32770";
using ui::controlIdBase;
// The main window's controls: the product's own list, so the ids cannot drift apart.
using Main = ui::MainControl;

// The design name of a control, such as "cmdQuickInfo".
std::wstring nameOf(Main control);
HWND controlOf(HWND window, int index);
inline HWND controlOf(HWND window, Main control) { return controlOf(window, static_cast<int>(control)); }
// The control a focus handle belongs to, for failure messages.
std::wstring describeFocus(HWND window, HWND focus);

// A row of a table of keys: its name, and how the test presses them.
struct KeyPress {
    const char* name;
    std::function<void(Product&)> press;
};
inline void PrintTo(const KeyPress& row, std::ostream* os) { *os << row.name; }

// The window minimized as its minimize box does it, or restored as the window menu's
// Restore does; false when it was not so within 10 s. Either waits until the program has
// dealt with it.
bool minimizeWindow(HWND window);
bool restoreWindow(HWND window);

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

// ---- The Windows version: what a program of the product's kind is told, and the report's oracle.

// The record GetVersionExA fills, as the version probe prints it.
struct ReportedVersion {
    DWORD major = 0, minor = 0, build = 0, platform = 0;
    std::wstring servicePack;
};
// Runs the version probe (same architecture and manifest as the product, so it is told the
// same version); on failure no version and `error` says why.
struct VersionProbeRun {
    std::optional<ReportedVersion> version;
    std::wstring error;
};
VersionProbeRun runVersionProbe();

// A Wine Windows-version setting, the record it makes Wine report, and the release name
// the report must give for it.
struct WindowsRelease {
    const wchar_t* wineSetting;
    DWORD major, minor, platform;
    const wchar_t* releaseName;
};
std::span<const WindowsRelease> windowsReleases();
// Names a row in GoogleTest's messages instead of dumping its bytes.
inline void PrintTo(const WindowsRelease& row, std::ostream* os) { *os << narrow(row.wineSetting); }
// The first row with the version's major, minor and platform; null when none has them.
const WindowsRelease* releaseFor(const ReportedVersion& version);
// What the report shows under "[ Your system ]": name, service pack, version line.
std::wstring expectedVersionReport(const std::wstring& releaseName, const ReportedVersion& version);

// A value under HKEY_CURRENT_USER, set for the programs started while this lives (Wine
// reads such settings as a process starts); what was there before is put back at the end.
class UserRegistryValue {
public:
    UserRegistryValue(const std::wstring& key, const std::wstring& name, DWORD type, const void* data, DWORD size);
    UserRegistryValue(const UserRegistryValue&) = delete;
    UserRegistryValue& operator=(const UserRegistryValue&) = delete;
    ~UserRegistryValue();

    // Empty when the value was set; else what failed.
    const std::wstring& error() const { return error_; }

private:
    std::wstring name_, where_;
    HKEY key_ = nullptr;
    bool hadValue_ = false;
    DWORD oldType_ = REG_NONE;
    std::vector<BYTE> oldData_;
    std::wstring error_;
};

class ProductTest : public ::testing::Test {
protected:
    void SetUp() override;

    std::wstring exeDir() const { return scratch_.file(L"bin"); }
    std::wstring logPath() const { return exeDir() + L"\\kestrevane.kvn"; }
    std::wstring workingDir() const { return scratch_.path(); }

    // Starts the program (or takes the one given, started); its main window, or null
    // after a failure was recorded.
    HWND startToMainWindow();
    HWND startToMainWindow(std::unique_ptr<Product> started);
    Product& product() { return *product_; }

    // Expects the focus on the main window's `control` (waiting for it a moment).
    void expectFocusOn(HWND window, Main control, const char* when);

    // Presses Esc and expects a clean end with exit code 0.
    void exitWithEsc(HWND window);

    ScratchDir scratch_;
    std::unique_ptr<Product> product_;
};

} // namespace kestrevane::e2e
