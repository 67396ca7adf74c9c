#include "product_test.h"

#include <string>
#include <utility>
#include <vector>

namespace kestrevane::e2e {

std::wstring nameOf(Main control)
{
    const std::string_view name = ui::frmmainLayout().controls[static_cast<std::size_t>(control)].name;
    return std::wstring(name.begin(), name.end());
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

namespace {

bool sysCommand(HWND window, WPARAM command, bool iconic)
{
    if (command == SC_RESTORE) {
        // As the taskbar does: activated while still minimized, then restored.
        SetForegroundWindow(window);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    }
    PostMessageW(window, WM_SYSCOMMAND, command, 0);
    const DWORD start = GetTickCount();
    while (!IsIconic(window) != !iconic) {
        if (GetTickCount() - start > 10000) return false;
        Sleep(20);
    }
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    return true;
}

} // namespace

bool minimizeWindow(HWND window) { return sysCommand(window, SC_MINIMIZE, true); }
bool restoreWindow(HWND window) { return sysCommand(window, SC_RESTORE, false); }

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

// ---- The Windows version: what a program of the product's kind is told, and the report's oracle.

namespace {

// Wine 8's record for each of its settings that lands on a distinct row of the release
// table or, within the NT 3 row, on a distinct minor version.
const WindowsRelease releaseRows[] = {
    {L"win20", 2, 0, VER_PLATFORM_WIN32s, L"Unknown Windows system"},
    {L"win30", 3, 0, VER_PLATFORM_WIN32s, L"Windows NT 3.0 "},
    {L"win31", 3, 10, VER_PLATFORM_WIN32s, L"Windows NT 3.10 "},
    {L"nt351", 3, 51, VER_PLATFORM_WIN32_NT, L"Windows NT 3.51 "},
    {L"win95", 4, 0, VER_PLATFORM_WIN32_WINDOWS, L"Windows95 "},
    {L"win98", 4, 10, VER_PLATFORM_WIN32_WINDOWS, L"Windows98 "},
    {L"winme", 4, 90, VER_PLATFORM_WIN32_WINDOWS, L"Windows ME "},
    {L"nt40", 4, 0, VER_PLATFORM_WIN32_NT, L"Windows NT 4 "},
    {L"win2k", 5, 0, VER_PLATFORM_WIN32_NT, L"Windows 2000 "},
    {L"winxp", 5, 1, VER_PLATFORM_WIN32_NT, L"Windows XP (Whistler) "},
    {L"winxp64", 5, 2, VER_PLATFORM_WIN32_NT, L"Unknown Windows NT 5 system "},
    {L"win2003", 5, 2, VER_PLATFORM_WIN32_NT, L"Unknown Windows NT 5 system "},
    {L"vista", 6, 0, VER_PLATFORM_WIN32_NT, L"Unknown Windows system"},
    {L"win7", 6, 1, VER_PLATFORM_WIN32_NT, L"Unknown Windows system"},
    {L"win8", 6, 2, VER_PLATFORM_WIN32_NT, L"Unknown Windows system"},
    {L"win81", 6, 3, VER_PLATFORM_WIN32_NT, L"Unknown Windows system"},
    {L"win10", 10, 0, VER_PLATFORM_WIN32_NT, L"Unknown Windows system"},
};

// Splits the probe's output into its lines, keeping blanks: a service pack such as " A " is
// significant to the last one.
std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::optional<DWORD> numberOf(const std::string& text)
{
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const unsigned long long n = std::stoull(text);
    if (n > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<DWORD>(n);
}

} // namespace

VersionProbeRun runVersionProbe()
{
    VersionProbeRun run;
    const std::wstring& probe = versionProbePath();
    if (probe.empty()) {
        run.error = L"no --version-probe=PATH_TO_version_probe.exe given";
        return run;
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 1 << 16)) {
        run.error = L"CreatePipe failed, error " + std::to_wstring(GetLastError());
        return run;
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    std::wstring commandLine = L"\"" + probe + L"\"";
    PROCESS_INFORMATION info{};
    const BOOL started = CreateProcessW(probe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                       nullptr, nullptr, &startup, &info);
    const DWORD startError = GetLastError();
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        run.error = L"starting " + probe + L" failed, error " + std::to_wstring(startError);
        return run;
    }
    CloseHandle(info.hThread);
    // The output is a few lines, far below the pipe's size: wait first, then take what is
    // there, so a handle some other process inherited cannot keep the read waiting.
    const bool ended = WaitForSingleObject(info.hProcess, 15000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(info.hProcess, 99);
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    std::string output;
    DWORD available = 0;
    while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        std::string chunk(available, '\0');
        DWORD got = 0;
        if (!ReadFile(readEnd, chunk.data(), available, &got, nullptr) || got == 0) break;
        output.append(chunk, 0, got);
    }
    CloseHandle(readEnd);

    const std::wstring shown = L"; it printed \"" + widen(output) + L"\"";
    if (!ended) {
        run.error = L"the version probe did not end within 15 s" + shown;
        return run;
    }
    if (code != 0) {
        run.error = L"the version probe ended with code " + std::to_wstring(code) + shown;
        return run;
    }
    const std::vector<std::string> lines = linesOf(output);
    if (lines.size() != 5) {
        run.error = L"the version probe printed " + std::to_wstring(lines.size()) + L" lines, not 5" + shown;
        return run;
    }
    ReportedVersion version;
    DWORD* const fields[] = {&version.major, &version.minor, &version.build, &version.platform};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::optional<DWORD> n = numberOf(lines[i]);
        if (!n) {
            run.error = L"line " + std::to_wstring(i + 1) + L" of the version probe is no number" + shown;
            return run;
        }
        *fields[i] = *n;
    }
    version.servicePack = widen(lines[4]);
    run.version = std::move(version);
    return run;
}

std::span<const WindowsRelease> windowsReleases() { return releaseRows; }

const WindowsRelease* releaseFor(const ReportedVersion& version)
{
    for (const WindowsRelease& row : releaseRows)
        if (row.major == version.major && row.minor == version.minor && row.platform == version.platform) return &row;
    return nullptr;
}

std::wstring expectedVersionReport(const std::wstring& releaseName, const ReportedVersion& version)
{
    return releaseName + version.servicePack + L"\r\nWindows Version Number = " + std::to_wstring(version.major) +
           L"." + std::to_wstring(version.minor) + L"." + std::to_wstring(version.build) + L"\r\n";
}

UserRegistryValue::UserRegistryValue(const std::wstring& key, const std::wstring& name, DWORD type, const void* data,
                                     DWORD size)
    : name_(name), where_(L"HKCU\\" + key + L"\\" + name)
{
    const LSTATUS opened = RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                                           nullptr, &key_, nullptr);
    if (opened != ERROR_SUCCESS) {
        key_ = nullptr;
        error_ = L"opening the key of " + where_ + L" failed, error " + std::to_wstring(opened);
        return;
    }
    DWORD oldSize = 0;
    if (RegQueryValueExW(key_, name_.c_str(), nullptr, &oldType_, nullptr, &oldSize) == ERROR_SUCCESS) {
        oldData_.resize(oldSize);
        hadValue_ = RegQueryValueExW(key_, name_.c_str(), nullptr, &oldType_, oldData_.data(), &oldSize) == ERROR_SUCCESS;
        oldData_.resize(oldSize);
    }
    const LSTATUS set = RegSetValueExW(key_, name_.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    if (set != ERROR_SUCCESS) error_ = L"setting " + where_ + L" failed, error " + std::to_wstring(set);
}

UserRegistryValue::~UserRegistryValue()
{
    if (!key_) return;
    const LSTATUS restored =
        hadValue_ ? RegSetValueExW(key_, name_.c_str(), 0, oldType_, oldData_.data(), static_cast<DWORD>(oldData_.size()))
                  : RegDeleteValueW(key_, name_.c_str());
    // Every later test would run with this setting otherwise.
    if (restored != ERROR_SUCCESS && restored != ERROR_FILE_NOT_FOUND)
        ADD_FAILURE() << "could not put " << narrow(where_) << " back, error " << restored;
    RegCloseKey(key_);
}

void ProductTest::SetUp()
{
    ASSERT_TRUE(CreateDirectoryW(exeDir().c_str(), nullptr)) << "could not make the exe folder";
    ASSERT_FALSE(productPath().empty()) << "usage: e2e_tests --product=PATH_TO_Kestrevane.exe";
    ASSERT_NE(GetFileAttributesW(productPath().c_str()), INVALID_FILE_ATTRIBUTES)
        << "no exe at " << narrow(productPath());
}

HWND ProductTest::startToMainWindow() { return startToMainWindow(std::make_unique<Product>(exeDir(), workingDir())); }

HWND ProductTest::startToMainWindow(std::unique_ptr<Product> started)
{
    product_ = std::move(started);
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
