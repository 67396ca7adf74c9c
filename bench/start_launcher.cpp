// Starts a program and a baseline program alternately and measures each start: the
// time from process creation until the main window is shown and the program idles, its
// private memory once idle, the bytes it read, and the DLLs it has loaded. Closes each
// with WM_CLOSE.
//   start_launcher RUNS PROGRAM LOG BASELINE LOG [LIMIT_SECONDS]
// LOG is what to put in kestrevane.kvn beside that exe: "none" (leave the folder
// alone), "N" (N records of today) or "sparse:N" (4 GiB of sparse zeros, CR LF, then
// N records). Each start must append exactly one record, which is then cut off again.
// A start that shows no window within LIMIT_SECONDS (default 60), shows a message box,
// grows past 2 GiB or does not end cleanly ends the comparison: the launcher prints
// "failed" and the reason, and exits with 3.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "launcher_log.h"
#include "wine_read_bytes.h"

namespace {

using kestrevane::bench::LauncherLog;
using kestrevane::bench::LogContent;

// A runaway start (a whole 4 GiB log read into memory) is stopped before it takes the
// machine down; a finished start of any design here stays far below it.
constexpr SIZE_T memoryCap = SIZE_T{2} << 30;

struct Program {
    const char* side;
    std::wstring exe;
    LauncherLog log;
    std::vector<double> milliseconds;
    std::vector<double> privateKib;
    std::vector<double> readBytes;     // GetProcessIoCounters
    std::vector<double> wineReadBytes; // the Wine process's rchar, -1 when unknown
    std::set<std::wstring> modules;
};

// Ends the comparison; what the table shows instead of figures.
struct StartFailure : std::runtime_error {
    StartFailure(const Program& p, const std::wstring& why)
        : std::runtime_error(std::string(p.side) + " " + narrowText(shortName(p.exe) + L": " + why))
    {
    }
    // The exe and its folder, which names the log: enough to tell, and no machine's paths.
    static std::wstring shortName(const std::wstring& exe)
    {
        const std::size_t last = exe.find_last_of(L"\\/");
        const std::size_t folder = last == std::wstring::npos || last == 0 ? std::wstring::npos
                                                                            : exe.find_last_of(L"\\/", last - 1);
        return folder == std::wstring::npos ? exe : exe.substr(folder + 1);
    }
    static std::string narrowText(const std::wstring& text)
    {
        const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string out(static_cast<std::size_t>(std::max(n, 1)), '\0');
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
        out.pop_back();
        return out;
    }
};

std::wstring directoryOf(const std::wstring& exe)
{
    const std::size_t slash = exe.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : exe.substr(0, slash);
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

double msSince(LARGE_INTEGER from)
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return elapsedMs(from, now);
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
        return;
    modules.resize(std::min<std::size_t>(modules.size(), needed / sizeof(HMODULE)));
    for (HMODULE module : modules) {
        wchar_t name[MAX_PATH];
        if (GetModuleBaseNameW(process, module, name, MAX_PATH)) into.insert(lower(name));
    }
}

SIZE_T privateBytes(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) return 0;
    // Windows reports the commit charge in both fields; Wine only in PagefileUsage.
    return memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
}

// Owns the started process: a start that goes wrong is ended, whatever path it takes.
class Started {
public:
    explicit Started(const PROCESS_INFORMATION& info) : info_(info) {}
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;
    ~Started()
    {
        if (!ended_) {
            TerminateProcess(info_.hProcess, 1);
            WaitForSingleObject(info_.hProcess, 30000);
        }
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    HANDLE process() const { return info_.hProcess; }
    DWORD id() const { return info_.dwProcessId; }
    bool hasEnded() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }
    DWORD exitCode() const
    {
        DWORD code = 1;
        GetExitCodeProcess(info_.hProcess, &code);
        return code;
    }
    void markEnded() { ended_ = true; }

private:
    PROCESS_INFORMATION info_;
    bool ended_ = false;
};

// Waits for the first visible top-level window, watching the start's health meanwhile.
HWND waitForWindow(const Program& program, const Started& started, LARGE_INTEGER start, double limitMs)
{
    auto check = [&] {
        if (started.hasEnded())
            throw StartFailure(program, L"ended with code " + std::to_wstring(started.exitCode()) +
                                            L" before showing a window");
        if (privateBytes(started.process()) > memoryCap)
            throw StartFailure(program, L"private memory grew past 2 GiB during the start");
        if (msSince(start) > limitMs)
            throw StartFailure(program,
                               L"no window within " + std::to_wstring(static_cast<int>(limitMs / 1000)) + L" s");
    };
    // Short waits, so a start that runs away is noticed; each returns at once when idle.
    while (WaitForInputIdle(started.process(), 50) != 0) check();
    Search search{started.id(), nullptr};
    for (int tries = 0;; ++tries) {
        EnumWindows(findVisibleWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        check();
        Sleep(tries < 100 ? 0 : 1);
    }
}

void startOnce(Program& program, bool measured, double limitMs)
{
    std::wstring commandLine = L"\"" + program.exe + L"\"";
    const std::wstring directory = directoryOf(program.exe);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};

    LARGE_INTEGER start, shown;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &info))
        throw StartFailure(program, L"cannot start (error " + std::to_wstring(GetLastError()) + L")");
    Started started(info);
    const HWND window = waitForWindow(program, started, start, limitMs);
    QueryPerformanceCounter(&shown);

    wchar_t className[64] = L"";
    GetClassNameW(window, className, 64);
    if (std::wcscmp(className, L"#32770") == 0) {
        wchar_t title[256] = L"";
        GetWindowTextW(window, title, 256);
        throw StartFailure(program, std::wstring(L"showed a message box, \"") + title + L"\"");
    }

    // Memory once the start-up's transient work has settled.
    Sleep(200);
    WaitForInputIdle(started.process(), 10000);
    const SIZE_T memory = privateBytes(started.process());
    collectModules(started.process(), program.modules);
    // Read last, right before closing: everything the start read is in.
    IO_COUNTERS io{};
    GetProcessIoCounters(started.process(), &io);
    const long long wineRead = kestrevane::bench::wineReadBytes(program.exe);

    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(started.process(), 30000) != WAIT_OBJECT_0)
        throw StartFailure(program, L"did not end within 30 s of WM_CLOSE");
    started.markEnded();
    if (started.exitCode() != 0)
        throw StartFailure(program, L"ended with code " + std::to_wstring(started.exitCode()));
    const std::wstring logProblem = program.log.checkAndCutBack();
    if (!logProblem.empty()) throw StartFailure(program, logProblem);

    if (!measured) return;
    program.milliseconds.push_back(elapsedMs(start, shown));
    program.privateKib.push_back(static_cast<double>(memory) / 1024.0);
    program.readBytes.push_back(static_cast<double>(io.ReadTransferCount));
    program.wineReadBytes.push_back(static_cast<double>(wineRead));
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void printSides(const char* figure, const std::vector<double>& a, const std::vector<double>& b)
{
    const auto [aMin, aMax] = std::minmax_element(a.begin(), a.end());
    const auto [bMin, bMax] = std::minmax_element(b.begin(), b.end());
    std::printf("%s program %.1f %.1f %.1f baseline %.1f %.1f %.1f", figure, *aMin, median(a), *aMax, *bMin, median(b),
                *bMax);
}

// Times and memory compare as ratios of each alternated pair.
void reportRatio(const char* figure, const std::vector<double>& a, const std::vector<double>& b)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < a.size(); ++i) ratios.push_back(a[i] / b[i]);
    printSides(figure, a, b);
    std::printf(" ratio %.3f\n", median(ratios));
}

// Bytes read compare as what the program reads beyond its baseline, pair by pair.
void reportDifference(const char* figure, const std::vector<double>& a, const std::vector<double>& b)
{
    std::vector<double> differences;
    for (std::size_t i = 0; i < a.size(); ++i) differences.push_back(a[i] - b[i]);
    printSides(figure, a, b);
    std::printf(" diff %.1f\n", median(differences));
}

void reportModules(const char* label, const std::set<std::wstring>& in, const std::set<std::wstring>& notIn)
{
    std::printf("%s", label);
    for (const std::wstring& name : in)
        if (!notIn.count(name)) std::printf(" %ls", name.c_str());
    std::printf("\n");
}

std::wstring fullPath(const wchar_t* path)
{
    wchar_t full[MAX_PATH];
    const DWORD n = GetFullPathNameW(path, MAX_PATH, full, nullptr);
    if (n == 0 || n >= MAX_PATH) throw std::invalid_argument("bad path");
    return full;
}

int compare(int runs, Program& program, Program& baseline, double limitMs)
{
    program.log.write();
    baseline.log.write();
    std::printf("log program %s bytes %llu\n", program.log.content().describe().c_str(),
                static_cast<unsigned long long>(program.log.size()));
    std::printf("log baseline %s bytes %llu\n", baseline.log.content().describe().c_str(),
                static_cast<unsigned long long>(baseline.log.size()));
    std::fflush(stdout);

    // One start of each first: the first start after a build pays for cold caches.
    startOnce(program, false, limitMs);
    startOnce(baseline, false, limitMs);
    for (int i = 0; i < runs; ++i) {
        // ABBA order, so neither side always runs right after the other.
        if (i % 2 == 0) {
            startOnce(program, true, limitMs);
            startOnce(baseline, true, limitMs);
        } else {
            startOnce(baseline, true, limitMs);
            startOnce(program, true, limitMs);
        }
    }

    std::printf("runs %d\n", runs);
    reportRatio("start_ms", program.milliseconds, baseline.milliseconds);
    reportRatio("private_kib", program.privateKib, baseline.privateKib);
    reportDifference("read_bytes", program.readBytes, baseline.readBytes);
    if (kestrevane::bench::underWine())
        reportDifference("wine_read_bytes", program.wineReadBytes, baseline.wineReadBytes);
    reportModules("dlls_program_only", program.modules, baseline.modules);
    reportModules("dlls_baseline_only", baseline.modules, program.modules);
    reportModules("dlls_program", program.modules, {});
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 6 && argc != 7) {
        std::fwprintf(stderr, L"usage: start_launcher RUNS PROGRAM LOG BASELINE LOG [LIMIT_SECONDS]\n"
                              L"  LOG: none, N (records of today) or sparse:N\n");
        return 2;
    }
    try {
        const int runs = static_cast<int>(std::wcstol(argv[1], nullptr, 10));
        if (runs < 1) throw std::invalid_argument("RUNS must be at least 1");
        const double limitMs = (argc == 7 ? std::wcstod(argv[6], nullptr) : 60.0) * 1000.0;
        if (!(limitMs > 0)) throw std::invalid_argument("LIMIT_SECONDS must be positive");
        const std::wstring programExe = fullPath(argv[2]);
        const std::wstring baselineExe = fullPath(argv[4]);
        if (lower(directoryOf(programExe)) == lower(directoryOf(baselineExe)))
            throw std::invalid_argument("the log lives beside the exe: give each side a folder of its own");
        Program program{"program", programExe, LauncherLog(directoryOf(programExe), LogContent::parse(argv[3])),
                        {}, {}, {}, {}, {}};
        Program baseline{"baseline", baselineExe, LauncherLog(directoryOf(baselineExe), LogContent::parse(argv[5])),
                         {}, {}, {}, {}, {}};
        try {
            return compare(runs, program, baseline, limitMs);
        } catch (const StartFailure& failure) {
            std::printf("failed %s\n", failure.what());
            std::fprintf(stderr, "start_launcher: failed %s\n", failure.what());
            // Take off whatever the failed start appended.
            program.log.checkAndCutBack();
            baseline.log.checkAndCutBack();
            return 3;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "start_launcher: %s\n", error.what());
        return 1;
    }
}
