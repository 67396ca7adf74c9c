// Drives a copy of the real exe from outside, as a user at the keyboard would.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "win32/temp_directory.h"

namespace kestrevane::e2e {

// The exe under test, as given on the command line.
void setProductPath(std::wstring path);
const std::wstring& productPath();
// A build of the same program that fails where it is told to, when one is given.
void setFaultBuildPath(std::wstring path);
const std::wstring& faultBuildPath();
// A program of the same architecture and manifest that prints what GetVersionExA reports.
void setVersionProbePath(std::wstring path);
const std::wstring& versionProbePath();

// Where the fault-injecting build fails: its KESTREVANE_FAULT setting.
struct InjectedFault {
    std::wstring name;
};

// How the program is told to show its window, as a shortcut's "Run" setting tells it
// (SW_SHOWMINNOACTIVE for "Minimized").
struct ShowCommand {
    WORD show;
};

// A variable of the Unix environment Wine starts a program in, such as LC_ALL (the user
// locale) or USER (the user name).
struct UnixVariable {
    std::wstring name, value;
};

std::wstring widen(const std::string& ansi);
std::string narrow(const std::wstring& wide);
// The same in a given code page; characters it lacks become its default character.
std::wstring widen(const std::string& bytes, UINT codePage);
std::string narrow(const std::wstring& wide, UINT codePage);

// Bytes of a file, or nothing when it cannot be read.
std::optional<std::string> readBytes(const std::wstring& path);
bool writeBytes(const std::wstring& path, const std::string& bytes);

// A fresh folder below the temp folder, removed again unless the test failed: a failed
// test's folder shows what the program left.
class ScratchDir : public testing::TempDirectory {
public:
    ScratchDir() : TempDirectory(L"kestrevane-e2e-", OnFailure::keep) {}
};

// The texts the program writes, computed here with the same locale calls.
std::wstring shortDate(const SYSTEMTIME& day);
std::wstring longDate(const SYSTEMTIME& day);
std::wstring timeSeparator();
SYSTEMTIME today();
// The same texts in a given locale, without the user's changes to it.
std::wstring shortDate(const SYSTEMTIME& day, LCID locale);
std::wstring longDate(const SYSTEMTIME& day, LCID locale);
std::wstring timeSeparator(LCID locale);
// The locale's ANSI code page; 0 for a locale that has none.
UINT ansiCodePage(LCID locale);
SYSTEMTIME dayOffset(const SYSTEMTIME& from, int days);

// A record line as the program writes it, CR LF included, in the ANSI code page.
std::string recordLine(const std::wstring& date, const std::wstring& time, const std::wstring& count);

// Text of any window, also of another process.
std::wstring textOf(HWND hwnd);
std::wstring classOf(HWND hwnd);
int idOf(HWND hwnd);
std::vector<HWND> childrenOf(HWND parent);
// The pixels of a `w` x `h` area of `source` at (`x`, `y`), row by row.
std::vector<COLORREF> pixelsOf(HDC source, int x, int y, int w, int h);
// The pixels the screen shows in `area` (screen coordinates), row by row.
std::vector<COLORREF> pixelsOnScreen(const RECT& area);

// The ids of a window's children in z-order, the order they were created in: the order
// the accessibility layer reads them in, and the focus moves through the tab stops in.
std::vector<int> idsInCreationOrder(HWND parent, bool tabStopsOnly = false);

// A started copy of the program. Ends it by force on destruction if it still runs.
class Product {
public:
    // Copies the exe into `exeDir` and starts it there, with `workingDir` as its
    // current folder (another folder, so a log written beside the wrong path shows).
    Product(const std::wstring& exeDir, const std::wstring& workingDir);
    // The same with a variable of its Unix environment set. Wine takes a process's locale
    // and user name from its Unix environment, which a Windows child inherits from its
    // parent; so the exe is started through Wine's loader with that environment.
    Product(const std::wstring& exeDir, const std::wstring& workingDir, const UnixVariable& variable);
    // The fault-injecting build, failing at `fault`.
    Product(const std::wstring& exeDir, const std::wstring& workingDir, const InjectedFault& fault);
    // Started as a shortcut with that "Run" setting starts it.
    Product(const std::wstring& exeDir, const std::wstring& workingDir, const ShowCommand& show);
    Product(const Product&) = delete;
    Product& operator=(const Product&) = delete;
    ~Product();

    bool started() const { return process_ != nullptr; }
    const std::wstring& startError() const { return startError_; }
    DWORD processId() const { return processId_; }

    // A visible top-level window of this process of the class (and caption, when
    // given), waited for up to `timeoutMs`; null when none came.
    HWND waitForWindow(const std::wstring& className, const std::wstring* caption = nullptr,
                       DWORD timeoutMs = 15000) const;
    // All visible top-level windows of this process of the class.
    std::vector<HWND> windowsOf(const std::wstring& className) const;
    bool waitUntilGone(HWND hwnd, DWORD timeoutMs = 10000) const;

    // The program's GUI thread's focus and active window.
    HWND focus() const;
    HWND active() const;
    // Waits until the focus is on `expected` and stays there a moment; the last
    // focus seen.
    HWND waitForFocus(HWND expected, DWORD timeoutMs = 5000) const;

    // Keys posted to the focused window, as the message loop would receive them.
    void postKey(WORD vk) const;
    void postAltKey(wchar_t letter) const;
    // Real keyboard input (needed where the shift state matters), brought to the
    // foreground first: the keys pressed in order, then released in reverse.
    bool sendChord(std::initializer_list<WORD> keys) const;
    bool sendShiftTab() const { return sendChord({VK_SHIFT, VK_TAB}); }
    // Real mouse input: the pointer to `at` (screen coordinates), then the wheel turned
    // by `delta` (120 a notch, negative towards the user).
    bool sendWheel(POINT at, int delta) const;
    // Real mouse input: the pointer to `at` (screen coordinates), then a left click.
    bool sendClick(POINT at) const;

    // Waits for the process to end; on timeout it is terminated and nothing is returned.
    std::optional<DWORD> waitForExit(DWORD timeoutMs = 15000);
    bool running() const;
    // "running" or "exited with code N", and the windows it shows, for failure messages.
    std::wstring state() const;

private:
    // Copies `source` into `exeDir` and starts it there; `environment`: null for this
    // process's; `show`: null for no show command of the starter's.
    void launch(const std::wstring& source, const std::wstring& exeDir, const std::wstring& workingDir,
                wchar_t* environment, const ShowCommand* show = nullptr);
    // The started copy at `exe`, found among the running processes (the loader gives no handle).
    bool attachTo(const std::wstring& exe, DWORD timeoutMs);

    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    std::wstring startError_;
};

// "Kestrevane " and today's long date.
std::wstring mainCaption(const SYSTEMTIME& day);

} // namespace kestrevane::e2e
