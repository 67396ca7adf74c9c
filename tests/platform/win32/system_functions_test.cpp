// Functions looked up at run time: DLLs come from the system folder, and every fallback
// for a system without the function works.
#include "platform/win32/system_functions.h"

#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win32/dpi.h"
#include "platform/win32/text_convert.h"
#include "platform/win32/win32_services.h"
#include "win32/temp_directory.h"

namespace kestrevane::win32 {
namespace {

std::wstring folderOf(HMODULE module)
{
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

std::wstring systemFolder()
{
    wchar_t path[MAX_PATH];
    const UINT n = GetSystemDirectoryW(path, MAX_PATH);
    return std::wstring(path, n);
}

TEST(SystemLibrary, LoadsDllsFromTheSystemFolder)
{
    for (const wchar_t* dll : {L"oleaut32.dll", L"shell32.dll", L"ole32.dll", L"kernel32.dll"}) {
        const HMODULE module = systemLibrary(dll);
        ASSERT_NE(module, nullptr) << narrow(dll);
        EXPECT_EQ(_wcsicmp(folderOf(module).c_str(), systemFolder().c_str()), 0) << narrow(dll);
    }
    EXPECT_EQ(systemLibrary(L"no-such-library.dll"), nullptr);
}

// A name misspelt in the table, or put under the wrong DLL, would look missing on every
// system, and its fallback would quietly run everywhere.
struct TableEntry {
    const char* name;
    const wchar_t* dll;
    void* found;
};

std::vector<TableEntry> tableAsFound()
{
    std::vector<TableEntry> entries;
#define KESTREVANE_TABLE_ENTRY(dll, name, type) \
    entries.push_back({#name, dll, reinterpret_cast<void*>(system::name.find())});
    KESTREVANE_SYSTEM_FUNCTIONS(KESTREVANE_TABLE_ENTRY)
#undef KESTREVANE_TABLE_ENTRY
    return entries;
}

bool underWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

// Wine has no exception policy; Windows has it from 7 with KB976038 on.
bool windowsOnly(const std::string& name)
{
    return name == "GetProcessUserModeExceptionPolicy" || name == "SetProcessUserModeExceptionPolicy";
}

TEST(SystemFunctions, EachIsFoundInItsDll)
{
    const std::vector<TableEntry> entries = tableAsFound();
    ASSERT_FALSE(entries.empty());
    for (const TableEntry& entry : entries) {
        const HMODULE module = systemLibrary(entry.dll);
        ASSERT_NE(module, nullptr) << narrow(entry.dll);
        if (!(underWine() && windowsOnly(entry.name))) {
            EXPECT_NE(entry.found, nullptr) << entry.name << " in " << narrow(entry.dll);
        }
        EXPECT_EQ(entry.found, reinterpret_cast<void*>(GetProcAddress(module, entry.name))) << entry.name;
    }
}

// A function made to look missing, for as long as the replacement lives.
ReplacedSystemFunctions::Replacement missing(const char* name) { return {name, nullptr}; }

TEST(SystemLibrary, ReplacedFunctionsLookMissingUntilTheReplacementGoes)
{
    ASSERT_NE(systemProcedure(L"kernel32.dll", "GetTickCount64"), nullptr) << "this system has GetTickCount64";
    {
        const ReplacedSystemFunctions replaced{missing("GetTickCount64")};
        EXPECT_EQ(systemProcedure(L"kernel32.dll", "GetTickCount64"), nullptr);
        EXPECT_NE(systemProcedure(L"kernel32.dll", "GetTickCount"), nullptr) << "only the named ones are replaced";
    }
    EXPECT_NE(systemProcedure(L"kernel32.dll", "GetTickCount64"), nullptr);
}

// Each function newer than Windows XP (or of a DLL looked up on demand), hidden, and what
// the program then does instead.
struct FallbackRow {
    const char* name;
    const char* missingFunction;
    std::function<void()> check;
};

void PrintTo(const FallbackRow& row, std::ostream* os) { *os << row.name; }

class Fallback : public ::testing::TestWithParam<FallbackRow> {};

TEST_P(Fallback, WorksWithoutTheFunction)
{
    // The check runs twice: as this system has it, then with the function missing.
    GetParam().check();
    const ReplacedSystemFunctions replaced{missing(GetParam().missingFunction)};
    GetParam().check();
}

UINT screenDpi()
{
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

LONG fontHeight(HFONT font)
{
    LOGFONTW logFont{};
    GetObjectW(font, sizeof logFont, &logFont);
    DeleteObject(font);
    return logFont.lfHeight;
}

LONG messageFontHeight()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(metrics.lfMessageFont);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    return metrics.lfMessageFont.lfHeight;
}

const FallbackRow fallbacks[] = {
    {"TickCount",
     "GetTickCount64",
     [] {
         const DWORD before = GetTickCount();
         const std::uint64_t count = tickCount64();
         const DWORD after = GetTickCount();
         EXPECT_GE(count, before);
         EXPECT_LE(count, after);
     }},
    {"ThreadId",
     "GetThreadId",
     [] {
         HANDLE thread = nullptr;
         ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &thread, 0, FALSE,
                                     DUPLICATE_SAME_ACCESS));
         EXPECT_EQ(threadId(thread), GetCurrentThreadId());
         CloseHandle(thread);
         EXPECT_EQ(threadId(nullptr), 0u);
     }},
    {"WindowDpi",
     "GetDpiForWindow",
     [] {
         const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
         ASSERT_NE(window, nullptr);
         EXPECT_EQ(windowDpi(window), screenDpi());
         DestroyWindow(window);
     }},
    {"WindowRectForClient",
     "AdjustWindowRectExForDpi",
     [] {
         constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
         RECT expected{0, 0, 380, 133};
         AdjustWindowRectEx(&expected, style, FALSE, 0);
         const RECT got = windowRectForClient({380, 133}, style, 0, screenDpi());
         EXPECT_TRUE(EqualRect(&got, &expected));
     }},
    {"MessageFont",
     "SystemParametersInfoForDpi",
     [] {
         EXPECT_EQ(fontHeight(createMessageFont(screenDpi())), messageFontHeight());
         EXPECT_EQ(fontHeight(createMessageFont(2 * screenDpi())), 2 * messageFontHeight());
     }},
    {"DateParser",
     "VarDateFromStr",
     [] {
         // Without the parser no text is a date; the start-up then knows today by its text alone.
         Win32DateLocale locale(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
         const bool hidden = systemProcedure(L"oleaut32.dll", "VarDateFromStr") == nullptr;
         const std::optional<startup::CivilDate> date = locale.parseDate("12/6/2026");
         EXPECT_EQ(date.has_value(), !hidden);
         if (date) {
             EXPECT_EQ(*date, (startup::CivilDate{2026, 12, 6}));
         }
     }},
};

INSTANTIATE_TEST_SUITE_P(NewerThanXp, Fallback, ::testing::ValuesIn(fallbacks),
                         [](const ::testing::TestParamInfo<FallbackRow>& row) { return std::string(row.param.name); });

// Stand-ins that count their calls.
int contextCalls = 0, awareCalls = 0, defaultDirectoriesCalls = 0, dllDirectoryCalls = 0;
BOOL contextResult = TRUE;
DWORD defaultDirectories = 0;
std::wstring dllDirectory;
BOOL WINAPI setContext(HANDLE) { return ++contextCalls, contextResult; }
BOOL WINAPI setAware() { return ++awareCalls, TRUE; }
BOOL WINAPI setDefaultDllDirectories(DWORD flags) { return ++defaultDirectoriesCalls, defaultDirectories = flags, TRUE; }
BOOL WINAPI setDllDirectory(LPCWSTR directory) { return ++dllDirectoryCalls, dllDirectory = directory, TRUE; }

void* standIn(auto function) { return reinterpret_cast<void*>(function); }

// Per-monitor awareness where the system has it, else the oldest call, made once.
TEST(Dpi, AwarenessFallsBackToTheOlderCall)
{
    struct Row {
        const char* name;
        bool hasContext, contextWorks, hasAware;
        int expectedContext, expectedAware;
    };
    for (const Row& row : {Row{"Windows10", true, true, true, 1, 0}, Row{"OlderWindows10", true, false, true, 1, 1},
                           Row{"Vista", false, false, true, 0, 1}, Row{"Xp", false, false, false, 0, 0}}) {
        SCOPED_TRACE(row.name);
        contextCalls = awareCalls = 0;
        contextResult = row.contextWorks;
        const ReplacedSystemFunctions replaced{
            {"SetProcessDpiAwarenessContext", row.hasContext ? standIn(setContext) : nullptr},
            {"SetProcessDPIAware", row.hasAware ? standIn(setAware) : nullptr}};
        enableDpiAwareness();
        EXPECT_EQ(contextCalls, row.expectedContext);
        EXPECT_EQ(awareCalls, row.expectedAware);
    }
}

UINT forWindowAnswer = 0, forMonitorAnswer = 0;
HRESULT forMonitorResult = S_OK;
int forMonitorCalls = 0, askedType = -1;
HMONITOR askedMonitor = nullptr;
UINT WINAPI dpiForWindow(HWND) { return forWindowAnswer; }
HRESULT WINAPI dpiForMonitor(HMONITOR monitor, int type, UINT* x, UINT* y)
{
    ++forMonitorCalls, askedMonitor = monitor, askedType = type;
    *x = *y = forMonitorAnswer;
    return forMonitorResult;
}

// The window's own DPI (Windows 10 1607 on), else its monitor's (8.1 on), else the screen's.
TEST(Dpi, OfTheWindowElseItsMonitorElseTheScreen)
{
    const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    struct Row {
        const char* name;
        bool hasForWindow, hasForMonitor;
        HRESULT monitorResult;
        UINT expected;
        int expectedMonitorCalls;
    };
    for (const Row& row : {Row{"Windows10", true, true, S_OK, 120, 0}, Row{"Windows81", false, true, S_OK, 144, 1},
                           Row{"MonitorUnanswered", false, true, E_INVALIDARG, screenDpi(), 1},
                           Row{"Windows7", false, false, S_OK, screenDpi(), 0}}) {
        SCOPED_TRACE(row.name);
        forWindowAnswer = 120, forMonitorAnswer = 144, forMonitorResult = row.monitorResult;
        forMonitorCalls = 0, askedType = -1, askedMonitor = nullptr;
        const ReplacedSystemFunctions replaced{{"GetDpiForWindow", row.hasForWindow ? standIn(dpiForWindow) : nullptr},
                                               {"GetDpiForMonitor", row.hasForMonitor ? standIn(dpiForMonitor) : nullptr}};
        EXPECT_EQ(windowDpi(window), row.expected);
        EXPECT_EQ(forMonitorCalls, row.expectedMonitorCalls);
        if (forMonitorCalls) {
            EXPECT_EQ(askedMonitor, MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
            EXPECT_EQ(askedType, 0) << "MDT_EFFECTIVE_DPI";
        }
    }
    DestroyWindow(window);
}

// Only the system folder, where the system allows it; at least not the current folder.
TEST(DllSearch, RestrictedWithWhatTheSystemHas)
{
    {
        defaultDirectoriesCalls = dllDirectoryCalls = 0;
        const ReplacedSystemFunctions replaced{{"SetDefaultDllDirectories", standIn(setDefaultDllDirectories)},
                                               {"SetDllDirectoryW", standIn(setDllDirectory)}};
        restrictDllSearch();
        EXPECT_EQ(defaultDirectoriesCalls, 1);
        EXPECT_EQ(defaultDirectories, 0x800u) << "LOAD_LIBRARY_SEARCH_SYSTEM32";
        EXPECT_EQ(dllDirectoryCalls, 1);
        EXPECT_EQ(dllDirectory, L"");
    }
    {
        defaultDirectoriesCalls = dllDirectoryCalls = 0;
        const ReplacedSystemFunctions replaced{missing("SetDefaultDllDirectories"),
                                               {"SetDllDirectoryW", standIn(setDllDirectory)}};
        restrictDllSearch();
        EXPECT_EQ(defaultDirectoriesCalls, 0);
        EXPECT_EQ(dllDirectoryCalls, 1) << "XP SP1 on: the current folder leaves the search";
    }
    const ReplacedSystemFunctions replaced{missing("SetDefaultDllDirectories"), missing("SetDllDirectoryW")};
    restrictDllSearch(); // XP before SP1: nothing to call
}

// The shell is only called when shell32 has it; COM is set up for it, and released.
TEST(Shell, OpensWithComSetUpAndWithoutEither)
{
    const testing::TempDirectory folder;
    const std::string absent = narrow(folder.path()) + "\\no such file.kvtest";
    // What the shell says of a file that is not there: an error code, but an answer.
    const auto askedTheShell = [](INT_PTR result) { return result > 0 && result <= 32; };
    const auto apartmentIsSingleThreaded = [] {
        // Asking for the other model tells which one this thread is in.
        const HRESULT result = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(result)) CoUninitialize();
        return result == RPC_E_CHANGED_MODE;
    };
    {
        const ReplacedSystemFunctions replaced{missing("ShellExecuteA")};
        EXPECT_EQ(openAddress(nullptr, absent), 0) << "no shell: nothing is called";
        EXPECT_FALSE(apartmentIsSingleThreaded()) << "COM set up for a shell that is not there";
    }
    {
        const ReplacedSystemFunctions replaced{missing("CoInitializeEx")};
        EXPECT_TRUE(askedTheShell(openAddress(nullptr, absent))) << "the shell is asked even without COM";
        EXPECT_FALSE(apartmentIsSingleThreaded());
        endComUse();
    }
    EXPECT_TRUE(askedTheShell(openAddress(nullptr, absent)));
    EXPECT_TRUE(apartmentIsSingleThreaded()) << "the shell's COM is set up on this thread";
    endComUse();
    EXPECT_FALSE(apartmentIsSingleThreaded()) << "and released at the end";
}

// A DLL planted in the current folder is not loaded by its bare name once the search is
// restricted (by the system's own call: the fallback's effect is not one Wine shows).
TEST(DllSearch, PlantedDllInTheCurrentFolderIsNotLoaded)
{
    const testing::TempDirectory folder;
    const std::wstring planted = folder.path() + L"\\kvplanted.dll";
    ASSERT_TRUE(CopyFileW((systemFolder() + L"\\version.dll").c_str(), planted.c_str(), FALSE));
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.path().c_str()));
    const auto loadsPlanted = [] {
        const HMODULE module = LoadLibraryW(L"kvplanted.dll");
        if (module) FreeLibrary(module);
        return module != nullptr;
    };
    EXPECT_TRUE(loadsPlanted()) << "the planted DLL must be found before the search is restricted";
    restrictDllSearch();
    EXPECT_FALSE(loadsPlanted());
    SetCurrentDirectoryW(previous);
}

} // namespace
} // namespace kestrevane::win32
