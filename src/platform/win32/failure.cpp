#include "platform/win32/failure.h"

#include <windows.h>

#include <cstdlib>
#include <exception>
#include <optional>
#include <utility>

#include "platform/win32/system_functions.h"
#include "platform/win32/text_convert.h"
#include "startup/failure.h"

namespace kestrevane::win32 {

namespace {

// Task-modal, so that no window of the program takes input behind it; brought to the
// front, as at sign-in other programs' windows open meanwhile.
constexpr UINT reportStyle = MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND;
constexpr int crashExitCode = 3;

// The first failure a window procedure kept: the one to report.
std::optional<startup::FailureReport> kept;
// The log's path as the reports name it.
std::string reportedLogPath;
// What a crash shows, made beforehand: by then the heap may be what broke.
std::wstring crashReport;
DWORD uiThread = 0;
LPTOP_LEVEL_EXCEPTION_FILTER runtimeFilter = nullptr;
// The first thread that crashed, and the one that shows its report.
volatile LONG crashedThread = 0;
volatile DWORD reportThread = 0;

BOOL CALLBACK hide(HWND hwnd, LPARAM)
{
    ShowWindow(hwnd, SW_HIDE);
    return TRUE;
}

// For another thread's windows: that thread may be the one waiting on this one.
BOOL CALLBACK hideAsync(HWND hwnd, LPARAM)
{
    ShowWindowAsync(hwnd, SW_HIDE);
    return TRUE;
}

void showOutOfMemory() noexcept
{
    // No memory left even for the message: a fixed one still tells the user.
    MessageBoxW(nullptr, L"Kestrevane had to stop: out of memory.", L"Kestrevane", reportStyle);
}

void showCrashReport() noexcept { MessageBoxW(nullptr, crashReport.c_str(), L"Kestrevane", reportStyle); }

DWORD WINAPI showCrashReportThread(void*)
{
    showCrashReport();
    return 0;
}

bool isRuntimeThrow(DWORD code)
{
    // GCC's own exception codes ("GCC" with a kind in the top byte).
    return (code & 0x20FFFFFFu) == 0x20474343u;
}

LONG WINAPI reportCrash(EXCEPTION_POINTERS* exception)
{
    const DWORD code = exception->ExceptionRecord->ExceptionCode;
    // The runtime's filter lets a C++ throw that found no handler return to the runtime,
    // which then calls std::terminate: reported there.
    if (isRuntimeThrow(code) && runtimeFilter) return runtimeFilter(exception);
    const DWORD self = GetCurrentThreadId();
    if (self == reportThread) TerminateProcess(GetCurrentProcess(), crashExitCode); // the report itself broke
    const auto first = static_cast<DWORD>(InterlockedCompareExchange(&crashedThread, static_cast<LONG>(self), 0));
    // Another thread's crash is being reported; its end is this thread's too.
    if (first != 0 && first != self) Sleep(INFINITE);
    // Once only: a fault while hiding them goes straight to the report. A stack overflow
    // leaves this thread too little stack to run the windows' procedures.
    if (first == 0 && !(code == EXCEPTION_STACK_OVERFLOW && self == uiThread))
        EnumThreadWindows(uiThread, self == uiThread ? hide : hideAsync, 0);
    // A thread of its own, with a stack of its own, shows the report; known by its id
    // before it runs, so that a fault in it is not taken for another thread's.
    DWORD id = 0;
    const HANDLE shown = CreateThread(nullptr, 0, showCrashReportThread, nullptr, CREATE_SUSPENDED, &id);
    if (shown) {
        reportThread = id;
        ResumeThread(shown);
        WaitForSingleObject(shown, INFINITE);
    } else {
        showCrashReport();
    }
    // Not ExitProcess: the crashed thread may hold locks that the DLLs' ends would wait for.
    TerminateProcess(GetCurrentProcess(), crashExitCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

// 64-bit Windows before 7 SP1 drops an exception that leaves a window procedure the
// kernel called, and the program goes on broken. Where the system can be told otherwise
// (Windows 7 with KB976038, 7 SP1 and later), the exception reaches reportCrash().
void letCallbackFaultsThrough()
{
    constexpr DWORD callbackFilterEnabled = 0x1; // PROCESS_CALLBACK_FILTER_ENABLED
    const auto getPolicy = system::GetProcessUserModeExceptionPolicy.find();
    const auto setPolicy = system::SetProcessUserModeExceptionPolicy.find();
    DWORD flags = 0;
    if (getPolicy && setPolicy && getPolicy(&flags)) setPolicy(flags & ~callbackFilterEnabled);
}

int showFailure(const startup::FailureReport& report) noexcept
{
    // The main window's end asked the loop to quit; the message box would take that as its own end.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    if (report.message.empty()) {
        showOutOfMemory();
        return report.exitCode;
    }
    try {
        MessageBoxW(nullptr, widen(report.message).c_str(), L"Kestrevane", reportStyle);
    } catch (...) {
        showOutOfMemory();
    }
    return report.exitCode;
}

// Called inside a catch block. Without the memory for a report, one without a message,
// which showFailure() takes for what it is.
startup::FailureReport currentFailure() noexcept
{
    try {
        return startup::reportCurrentFailure(reportedLogPath);
    } catch (...) {
        return {{}, 2};
    }
}

} // namespace

int runReportingFailures(const std::string& logPath, const std::function<int()>& program) noexcept
{
    int code = 0;
    try {
        reportedLogPath = logPath;
        code = program();
    } catch (...) {
        // The windows are gone by now: the message stands alone.
        return showFailure(currentFailure());
    }
    if (!kept) return code;
    // So are they when a window procedure kept the failure: the program has ended.
    const startup::FailureReport report = std::move(*kept);
    kept.reset();
    return showFailure(report);
}

void keepCurrentFailure() noexcept
{
    if (kept) return; // the first failure is the one to report
    kept = currentFailure();
    PostQuitMessage(kept->exitCode);
}

void watchForCrashes(const std::string& logPath)
{
    reportedLogPath = logPath;
    crashReport = widen(startup::reportUnexpectedFailure(logPath).message);
    uiThread = GetCurrentThreadId();
    std::set_terminate([] {
        // Nothing unwinds the windows here; they must not stand there unanswered.
        EnumThreadWindows(GetCurrentThreadId(), hide, 0);
        showCrashReport();
        std::_Exit(crashExitCode);
    });
    runtimeFilter = SetUnhandledExceptionFilter(reportCrash);
    letCallbackFaultsThrough();
}

} // namespace kestrevane::win32
