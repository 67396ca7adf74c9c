#include "platform/win32/failure.h"

#include <windows.h>

#include <cstdlib>
#include <utility>

#include "platform/win32/text_convert.h"
#include "startup/failure_report.h"

namespace kestrevane::win32 {

namespace {

std::exception_ptr kept;
std::string terminateLogPath;

BOOL CALLBACK hide(HWND hwnd, LPARAM)
{
    ShowWindow(hwnd, SW_HIDE);
    return TRUE;
}

} // namespace

int showFailure(std::exception_ptr failure, const std::string& logPath) noexcept
{
    // The main window's end asked the loop to quit; the message box would take that as its own end.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    try {
        const startup::FailureReport report = startup::reportFailure(failure, logPath);
        MessageBoxW(nullptr, widen(report.message).c_str(), L"Kestrevane", MB_OK | MB_ICONERROR | MB_TASKMODAL);
        return report.exitCode;
    } catch (...) {
        // No memory left even for the message: a fixed one still tells the user.
        MessageBoxW(nullptr, L"Kestrevane had to stop: out of memory.", L"Kestrevane",
                    MB_OK | MB_ICONERROR | MB_TASKMODAL);
        return 2;
    }
}

void keepFailure(std::exception_ptr failure) noexcept
{
    if (kept) return; // the first failure is the one to report
    kept = failure;
    PostQuitMessage(2);
}

std::exception_ptr takeKeptFailure() noexcept { return std::exchange(kept, nullptr); }

void showFailureOnTerminate(const std::string& logPath)
{
    terminateLogPath = logPath;
    std::set_terminate([] {
        // Nothing unwinds the windows here; they must not stand there unanswered.
        EnumThreadWindows(GetCurrentThreadId(), hide, 0);
        showFailure(std::current_exception(), terminateLogPath);
        std::_Exit(3);
    });
}

} // namespace kestrevane::win32
