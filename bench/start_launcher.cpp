// Starts a program and a baseline program alternately and measures each start: the
// time from process creation until the main window is shown and the program idles, its
// private memory once idle, and the DLLs it has loaded. Closes each with WM_CLOSE.
//   start_launcher RUNS PROGRAM RECORDS BASELINE RECORDS
// RECORDS is the number of today's records written to kestrevane.kvn beside that exe
// before each start, or "none" to leave the folder alone.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <set>
#include <string>
#include <vector>

namespace {

struct Program {
    std::wstring exe;
    long records = -1; // -1: no log written
    std::vector<double> milliseconds;
    std::vector<double> privateKib;
    std::set<std::wstring> modules;
};

[[noreturn]] void fail(const std::wstring& what)
{
    std::fwprintf(stderr, L"start_launcher: %ls (error %lu)\n", what.c_str(), GetLastError());
    std::exit(1);
}

std::wstring directoryOf(const std::wstring& exe)
{
    const std::size_t slash = exe.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : exe.substr(0, slash);
}

std::string toAnsi(const std::wstring& text)
{
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(static_cast<std::size_t>(std::max(n, 0)), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// Today's records in the user's short date form, as the program itself writes them.
void writeLog(const Program& program)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t date[128] = L"";
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, date, 128);
    const std::string dateText = toAnsi(date);
    std::string bytes;
    char time[16];
    std::snprintf(time, sizeof time, "%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
    for (long i = 1; i <= program.records; ++i)
        bytes += "\"" + dateText + "\",\"" + time + "\",\"" + std::to_string(i) + "\"\r\n";

    const std::wstring path = directoryOf(program.exe) + L"\\kestrevane.kvn";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) fail(L"cannot create " + path);
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size()) fail(L"cannot write " + path);
}

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK findVisibleWindow(HWND hwnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search->processId && IsWindowVisible(hwnd) && !GetWindow(hwnd, GW_OWNER)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

double elapsedMs(LARGE_INTEGER from, LARGE_INTEGER to)
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / frequency;
}

std::wstring lower(std::wstring text)
{
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

void collectModules(HANDLE process, std::set<std::wstring>& into)
{
    std::vector<HMODULE> modules(1024);
    DWORD needed = 0;
    if (!EnumProcessModules(process, modules.data(), static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &needed))
        fail(L"EnumProcessModules failed");
    modules.resize(std::min<std::size_t>(modules.size(), needed / sizeof(HMODULE)));
    for (HMODULE module : modules) {
        wchar_t name[MAX_PATH];
        if (GetModuleBaseNameW(process, module, name, MAX_PATH)) into.insert(lower(name));
    }
}

void startOnce(Program& program, bool measured)
{
    if (program.records >= 0) writeLog(program);
    std::wstring commandLine = L"\"" + program.exe + L"\"";
    const std::wstring directory = directoryOf(program.exe);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};

    LARGE_INTEGER start, shown;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &process))
        fail(L"cannot start " + program.exe);
    if (WaitForInputIdle(process.hProcess, 60000) != 0) fail(L"no input idle from " + program.exe);
    Search search{process.dwProcessId, nullptr};
    for (int tries = 0; !search.found; ++tries) {
        EnumWindows(findVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) break;
        if (tries > 60000) fail(L"no visible window from " + program.exe);
        Sleep(tries < 100 ? 0 : 1);
    }
    QueryPerformanceCounter(&shown);

    // Memory once the start-up's transient work has settled.
    Sleep(200);
    WaitForInputIdle(process.hProcess, 10000);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
        fail(L"GetProcessMemoryInfo failed");
    collectModules(process.hProcess, program.modules);

    PostMessageW(search.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        fail(program.exe + L" did not end after WM_CLOSE");
    }
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (exitCode != 0) fail(program.exe + L" ended with code " + std::to_wstring(exitCode));

    if (!measured) return;
    program.milliseconds.push_back(elapsedMs(start, shown));
    // Windows reports the commit charge in both fields; Wine only in PagefileUsage.
    const SIZE_T privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    program.privateKib.push_back(static_cast<double>(privateBytes) / 1024.0);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void report(const char* figure, const std::vector<double>& a, const std::vector<double>& b)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < a.size(); ++i) ratios.push_back(a[i] / b[i]);
    const auto [aMin, aMax] = std::minmax_element(a.begin(), a.end());
    const auto [bMin, bMax] = std::minmax_element(b.begin(), b.end());
    std::printf("%s program %.1f %.1f %.1f baseline %.1f %.1f %.1f ratio %.3f\n", figure, *aMin, median(a), *aMax,
                *bMin, median(b), *bMax, median(ratios));
}

void reportModules(const char* label, const std::set<std::wstring>& in, const std::set<std::wstring>& notIn)
{
    std::printf("%s", label);
    for (const std::wstring& name : in)
        if (!notIn.count(name)) std::printf(" %ls", name.c_str());
    std::printf("\n");
}

long recordsArgument(const wchar_t* text)
{
    if (std::wcscmp(text, L"none") == 0) return -1;
    return std::wcstol(text, nullptr, 10);
}

std::wstring fullPath(const wchar_t* path)
{
    wchar_t full[MAX_PATH];
    const DWORD n = GetFullPathNameW(path, MAX_PATH, full, nullptr);
    if (n == 0 || n >= MAX_PATH) fail(std::wstring(L"bad path ") + path);
    return full;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 6) {
        std::fwprintf(stderr, L"usage: start_launcher RUNS PROGRAM RECORDS|none BASELINE RECORDS|none\n");
        return 2;
    }
    const int runs = static_cast<int>(std::wcstol(argv[1], nullptr, 10));
    if (runs < 1) fail(L"RUNS must be at least 1");
    Program program;
    program.exe = fullPath(argv[2]);
    program.records = recordsArgument(argv[3]);
    Program baseline;
    baseline.exe = fullPath(argv[4]);
    baseline.records = recordsArgument(argv[5]);

    // One start of each first: the first start after a build pays for cold caches.
    startOnce(program, false);
    startOnce(baseline, false);
    for (int i = 0; i < runs; ++i) {
        // ABBA order, so neither side always runs right after the other.
        if (i % 2 == 0) {
            startOnce(program, true);
            startOnce(baseline, true);
        } else {
            startOnce(baseline, true);
            startOnce(program, true);
        }
    }

    std::printf("runs %d\n", runs);
    report("start_ms", program.milliseconds, baseline.milliseconds);
    report("private_kib", program.privateKib, baseline.privateKib);
    reportModules("dlls_program_only", program.modules, baseline.modules);
    reportModules("dlls_baseline_only", baseline.modules, program.modules);
    reportModules("dlls_program", program.modules, {});
    return 0;
}
