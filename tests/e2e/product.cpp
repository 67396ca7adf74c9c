#include "product.h"

#include <tlhelp32.h>

#include <iterator>
#include <utility>

namespace kestrevane::e2e {

namespace {

std::wstring& storedProductPath()
{
    static std::wstring path;
    return path;
}

std::wstring& storedFaultBuildPath()
{
    static std::wstring path;
    return path;
}

std::wstring& storedVersionProbePath()
{
    static std::wstring path;
    return path;
}

std::wstring dateText(const SYSTEMTIME& day, DWORD flags)
{
    wchar_t text[128];
    const int n = GetDateFormatW(LOCALE_USER_DEFAULT, flags, &day, nullptr, text, 128);
    return n > 1 ? std::wstring(text, static_cast<std::size_t>(n - 1)) : std::wstring();
}

struct WindowSearch {
    DWORD processId;
    const std::wstring* className;
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->processId && IsWindowVisible(hwnd) && classOf(hwnd) == *search->className)
        search->found.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK collectVisible(HWND hwnd, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->processId && IsWindowVisible(hwnd)) search->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> visibleWindows(DWORD processId)
{
    WindowSearch search{processId, nullptr, {}};
    EnumWindows(collectVisible, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK collectChild(HWND hwnd, LPARAM param)
{
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
    return TRUE;
}

LPARAM keyData(WORD vk, bool up)
{
    const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    LPARAM data = 1 | static_cast<LPARAM>(scan << 16);
    if (up) data |= static_cast<LPARAM>(0xC0000000u);
    return data;
}

std::wstring lastErrorText(const wchar_t* what)
{
    return std::wstring(what) + L" failed, error " + std::to_wstring(GetLastError());
}

std::wstring dateTextIn(const SYSTEMTIME& day, DWORD flags, LCID locale)
{
    wchar_t text[128];
    const int n = GetDateFormatW(locale, flags | LOCALE_NOUSEROVERRIDE, &day, nullptr, text, 128);
    return n > 1 ? std::wstring(text, static_cast<std::size_t>(n - 1)) : std::wstring();
}

struct WineLoader {
    std::wstring unixPath; // what the loader must see as its own name
    std::wstring dosPath;  // what CreateProcessW starts
};

// Wine's loader, or empty paths when this is not Wine.
WineLoader wineLoader()
{
    wchar_t unixPath[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(L"WINELOADER", unixPath, MAX_PATH);
    using ToDos = wchar_t*(CDECL*)(const char*);
    const auto toDos = reinterpret_cast<ToDos>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (n >= MAX_PATH || !toDos) return {};
    // Some Wine builds do not pass the loader's name on; then it is where the test scripts run it from.
    WineLoader loader{n > 0 ? std::wstring(unixPath, n) : std::wstring(L"/usr/lib/wine/wine64"), {}};
    wchar_t* dos = toDos(narrow(loader.unixPath, CP_UTF8).c_str());
    if (!dos) return {};
    loader.dosPath = dos;
    HeapFree(GetProcessHeap(), 0, dos);
    return loader;
}

// This process's environment with one variable set, as a block for CreateProcessW.
std::wstring environmentWith(const std::wstring& name, const std::wstring& value)
{
    const std::wstring assignment = name + L"=";
    std::wstring block;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* p = strings; *p; p += wcslen(p) + 1) {
        if (_wcsnicmp(p, assignment.c_str(), assignment.size()) == 0) continue;
        block += p;
        block += L'\0';
    }
    FreeEnvironmentStringsW(strings);
    block += assignment + value;
    block += L'\0';
    block += L'\0';
    return block;
}

// The process's first thread: the one its windows belong to.
DWORD mainThreadOf(DWORD processId)
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    DWORD first = 0;
    ULONGLONG firstCreated = ~0ULL;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != processId) continue;
        FILETIME created{}, exited, kernel, user;
        const HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
        if (thread) {
            GetThreadTimes(thread, &created, &exited, &kernel, &user);
            CloseHandle(thread);
        }
        const ULONGLONG at = (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
        if (!first || at < firstCreated) {
            first = entry.th32ThreadID;
            firstCreated = at;
        }
    }
    CloseHandle(snapshot);
    return first;
}

} // namespace

void setProductPath(std::wstring path) { storedProductPath() = std::move(path); }
const std::wstring& productPath() { return storedProductPath(); }
void setFaultBuildPath(std::wstring path) { storedFaultBuildPath() = std::move(path); }
const std::wstring& faultBuildPath() { return storedFaultBuildPath(); }
void setVersionProbePath(std::wstring path) { storedVersionProbePath() = std::move(path); }
const std::wstring& versionProbePath() { return storedVersionProbePath(); }

std::wstring widen(const std::string& ansi) { return widen(ansi, CP_ACP); }
std::string narrow(const std::wstring& wide) { return narrow(wide, CP_ACP); }

std::wstring widen(const std::string& bytes, UINT codePage)
{
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), n);
    return wide;
}

std::string narrow(const std::wstring& wide, UINT codePage)
{
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), size, bytes.data(), n, nullptr, nullptr);
    return bytes;
}

std::optional<std::string> readBytes(const std::wstring& path)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool writeBytes(const std::wstring& path, const std::string& bytes)
{
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::wstring shortDate(const SYSTEMTIME& day) { return dateText(day, DATE_SHORTDATE); }
std::wstring longDate(const SYSTEMTIME& day) { return dateText(day, DATE_LONGDATE); }

std::wstring timeSeparator()
{
    wchar_t text[8];
    const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIME, text, 8);
    return n > 1 ? std::wstring(text, static_cast<std::size_t>(n - 1)) : std::wstring();
}

SYSTEMTIME today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

std::wstring shortDate(const SYSTEMTIME& day, LCID locale) { return dateTextIn(day, DATE_SHORTDATE, locale); }
std::wstring longDate(const SYSTEMTIME& day, LCID locale) { return dateTextIn(day, DATE_LONGDATE, locale); }

std::wstring timeSeparator(LCID locale)
{
    wchar_t text[8];
    const int n = GetLocaleInfoW(locale, LOCALE_STIME | LOCALE_NOUSEROVERRIDE, text, 8);
    return n > 1 ? std::wstring(text, static_cast<std::size_t>(n - 1)) : std::wstring();
}

UINT ansiCodePage(LCID locale)
{
    DWORD page = 0;
    const int n = GetLocaleInfoW(locale, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                                 reinterpret_cast<LPWSTR>(&page), sizeof page / sizeof(wchar_t));
    return n > 0 ? page : 0;
}

SYSTEMTIME dayOffset(const SYSTEMTIME& from, int days)
{
    SYSTEMTIME noon = from;
    noon.wHour = 12;
    noon.wMinute = noon.wSecond = noon.wMilliseconds = 0;
    FILETIME file;
    SystemTimeToFileTime(&noon, &file);
    ULARGE_INTEGER ticks;
    ticks.LowPart = file.dwLowDateTime;
    ticks.HighPart = file.dwHighDateTime;
    const long long perDay = 24LL * 3600 * 10000000;
    ticks.QuadPart = static_cast<unsigned long long>(static_cast<long long>(ticks.QuadPart) + days * perDay);
    file.dwLowDateTime = ticks.LowPart;
    file.dwHighDateTime = ticks.HighPart;
    SYSTEMTIME result;
    FileTimeToSystemTime(&file, &result);
    return result;
}

std::string recordLine(const std::wstring& date, const std::wstring& time, const std::wstring& count)
{
    return narrow(L"\"" + date + L"\",\"" + time + L"\",\"" + count + L"\"\r\n");
}

std::wstring textOf(HWND hwnd)
{
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return L"<no answer>";
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             5000, &copied))
        return L"<no answer>";
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

std::wstring classOf(HWND hwnd)
{
    wchar_t name[256];
    const int n = GetClassNameW(hwnd, name, 256);
    return std::wstring(name, static_cast<std::size_t>(n > 0 ? n : 0));
}

int idOf(HWND hwnd) { return static_cast<int>(GetWindowLongPtrW(hwnd, GWLP_ID)); }

std::vector<HWND> childrenOf(HWND parent)
{
    std::vector<HWND> children;
    EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

std::vector<COLORREF> pixelsOf(HDC source, int x, int y, int w, int h)
{
    if (w <= 0 || h <= 0) return {};
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    const HDC dc = CreateCompatibleDC(source);
    void* bits = nullptr;
    const HBITMAP copy = CreateDIBSection(source, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(dc, copy);
    BitBlt(dc, 0, 0, w, h, source, x, y, SRCCOPY);
    GdiFlush();
    std::vector<COLORREF> pixels;
    for (int i = 0; i < w * h; ++i) {
        const DWORD p = static_cast<const DWORD*>(bits)[i];
        pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
    }
    SelectObject(dc, old);
    DeleteObject(copy);
    DeleteDC(dc);
    return pixels;
}

std::vector<COLORREF> pixelsOnScreen(const RECT& area)
{
    const HDC screen = GetDC(nullptr);
    std::vector<COLORREF> pixels =
        pixelsOf(screen, area.left, area.top, area.right - area.left, area.bottom - area.top);
    ReleaseDC(nullptr, screen);
    return pixels;
}

std::vector<int> idsInCreationOrder(HWND parent, bool tabStopsOnly)
{
    std::vector<int> ids;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (!tabStopsOnly || (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP)) ids.push_back(idOf(child));
    return ids;
}

std::wstring mainCaption(const SYSTEMTIME& day) { return L"Kestrevane " + longDate(day); }

Product::Product(const std::wstring& exeDir, const std::wstring& workingDir)
{
    launch(productPath(), exeDir, workingDir, nullptr);
}

Product::Product(const std::wstring& exeDir, const std::wstring& workingDir, const InjectedFault& fault)
{
    if (faultBuildPath().empty()) {
        startError_ = L"no fault-injecting build given on the command line";
        return;
    }
    std::wstring environment = environmentWith(L"KESTREVANE_FAULT", fault.name);
    launch(faultBuildPath(), exeDir, workingDir, environment.data());
}

Product::Product(const std::wstring& exeDir, const std::wstring& workingDir, const ShowCommand& show)
{
    launch(productPath(), exeDir, workingDir, nullptr, &show);
}

void Product::launch(const std::wstring& source, const std::wstring& exeDir, const std::wstring& workingDir,
                     wchar_t* environment, const ShowCommand* show)
{
    const std::wstring exe = exeDir + L"\\Kestrevane.exe";
    if (source.empty()) {
        startError_ = L"no exe given on the command line";
        return;
    }
    if (!CopyFileW(source.c_str(), exe.c_str(), FALSE)) {
        startError_ = lastErrorText((L"copying " + source).c_str());
        return;
    }
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (show) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = show->show;
    }
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        environment ? CREATE_UNICODE_ENVIRONMENT : 0, environment, workingDir.c_str(), &startup,
                        &info)) {
        startError_ = lastErrorText(L"CreateProcessW");
        return;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    threadId_ = info.dwThreadId;
    WaitForInputIdle(process_, 15000);
}

Product::Product(const std::wstring& exeDir, const std::wstring& workingDir, const UnixVariable& variable)
{
    const std::wstring exe = exeDir + L"\\Kestrevane.exe";
    if (productPath().empty()) {
        startError_ = L"no exe given on the command line";
        return;
    }
    const WineLoader loader = wineLoader();
    if (loader.dosPath.empty()) {
        startError_ = L"a Unix environment needs Wine, whose loader starts the exe; no Wine loader found";
        return;
    }
    if (!CopyFileW(productPath().c_str(), exe.c_str(), FALSE)) {
        startError_ = lastErrorText((L"copying " + productPath()).c_str());
        return;
    }
    std::wstring commandLine = L"\"" + loader.unixPath + L"\" \"" + exe + L"\"";
    std::wstring environment = environmentWith(variable.name, variable.value);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(loader.dosPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                        environment.data(), workingDir.c_str(), &startup, &info)) {
        startError_ = lastErrorText((L"starting " + loader.dosPath).c_str());
        return;
    }
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
    if (!attachTo(exe, 15000)) {
        startError_ = L"no process " + exe + L" within 15 s of starting it through " + loader.dosPath;
        return;
    }
    WaitForInputIdle(process_, 15000);
}

bool Product::attachTo(const std::wstring& exe, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot != INVALID_HANDLE_VALUE) {
            PROCESSENTRY32W entry{};
            entry.dwSize = sizeof entry;
            for (BOOL more = Process32FirstW(snapshot, &entry); more && !process_;
                 more = Process32NextW(snapshot, &entry)) {
                if (_wcsicmp(entry.szExeFile, L"Kestrevane.exe") != 0) continue;
                const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE | PROCESS_TERMINATE,
                                                   FALSE, entry.th32ProcessID);
                if (!process) continue;
                wchar_t image[MAX_PATH];
                DWORD size = MAX_PATH;
                if (QueryFullProcessImageNameW(process, 0, image, &size) && _wcsicmp(image, exe.c_str()) == 0) {
                    process_ = process;
                    processId_ = entry.th32ProcessID;
                    threadId_ = mainThreadOf(processId_);
                } else {
                    CloseHandle(process);
                }
            }
            CloseHandle(snapshot);
        }
        if (process_) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
}

Product::~Product()
{
    if (!process_) return;
    if (running()) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

std::vector<HWND> Product::windowsOf(const std::wstring& className) const
{
    WindowSearch search{processId_, &className, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Product::waitForWindow(const std::wstring& className, const std::wstring* caption, DWORD timeoutMs) const
{
    const DWORD start = GetTickCount();
    for (;;) {
        for (HWND hwnd : windowsOf(className))
            if (!caption || textOf(hwnd) == *caption) return hwnd;
        if (GetTickCount() - start > timeoutMs || !running()) return nullptr;
        Sleep(50);
    }
}

bool Product::waitUntilGone(HWND hwnd, DWORD timeoutMs) const
{
    const DWORD start = GetTickCount();
    while (IsWindow(hwnd) && IsWindowVisible(hwnd)) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

HWND Product::focus() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId_, &info) ? info.hwndFocus : nullptr;
}

HWND Product::active() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(threadId_, &info) ? info.hwndActive : nullptr;
}

HWND Product::waitForFocus(HWND expected, DWORD timeoutMs) const
{
    const DWORD start = GetTickCount();
    HWND seen = focus();
    while (seen != expected && GetTickCount() - start < timeoutMs) {
        Sleep(20);
        seen = focus();
    }
    if (seen != expected) return seen;
    // A focus that only passes through is not where the key left it.
    Sleep(200);
    return focus();
}

void Product::postKey(WORD vk) const
{
    HWND target = focus();
    if (!target) target = active();
    PostMessageW(target, WM_KEYDOWN, vk, keyData(vk, false));
    PostMessageW(target, WM_KEYUP, vk, keyData(vk, true));
}

void Product::postAltKey(wchar_t letter) const
{
    HWND target = focus();
    if (!target) target = active();
    const WORD vk = static_cast<WORD>(VkKeyScanW(letter) & 0xFF);
    const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    // Bit 29: the Alt key is down, as for a real Alt+letter.
    PostMessageW(target, WM_SYSCHAR, letter, static_cast<LPARAM>(1 | (scan << 16) | (1u << 29)));
}

bool Product::sendChord(std::initializer_list<WORD> keys) const
{
    const HWND window = active();
    if (window && GetForegroundWindow() != window) SetForegroundWindow(window);
    std::vector<INPUT> input;
    const auto add = [&](WORD vk, DWORD flags) {
        INPUT key{};
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = vk;
        key.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        key.ki.dwFlags = flags;
        input.push_back(key);
    };
    for (const WORD vk : keys) add(vk, 0);
    for (auto vk = std::rbegin(keys); vk != std::rend(keys); ++vk) add(*vk, KEYEVENTF_KEYUP);
    return SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT)) == input.size();
}

bool Product::sendWheel(POINT at, int delta) const
{
    const HWND window = active();
    if (window && GetForegroundWindow() != window) SetForegroundWindow(window);
    if (!SetCursorPos(at.x, at.y)) return false;
    INPUT wheel{};
    wheel.type = INPUT_MOUSE;
    wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
    wheel.mi.mouseData = static_cast<DWORD>(delta);
    return SendInput(1, &wheel, sizeof wheel) == 1;
}

bool Product::sendClick(POINT at) const
{
    const HWND window = active();
    if (window && GetForegroundWindow() != window) SetForegroundWindow(window);
    if (!SetCursorPos(at.x, at.y)) return false;
    INPUT click[2]{};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    return SendInput(2, click, sizeof click[0]) == 2;
}

bool Product::running() const
{
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Product::waitForExit(DWORD timeoutMs)
{
    if (!process_) return std::nullopt;
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 5000);
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

std::wstring Product::state() const
{
    if (!process_) return L"not started: " + startError_;
    if (running()) {
        std::wstring windows;
        for (HWND hwnd : visibleWindows(processId_))
            windows += L"\n  " + classOf(hwnd) + L" \"" + textOf(hwnd) + L"\"";
        return L"is running and shows:" + (windows.empty() ? L" nothing" : windows);
    }
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return L"exited with code " + std::to_wstring(code);
}

} // namespace kestrevane::e2e
