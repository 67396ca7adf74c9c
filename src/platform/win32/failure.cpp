#include "platform/win32/failure.h"

#include <windows.h>

#include <cstdlib>
#include <exception>
#include <utility>

#include "platform/win32/text_convert.h"

namespace kestrevane::win32 {

namespace {

bool failureKept = false;
startup::FailureReport kept;
// The log's path as the window procedures and the terminate handler must name it.
std::string reportedLogPath;

BOOL CALLBACK hide(HWND hwnd, LPARAM)
{
    ShowWindow(hwnd, SW_HIDE);
    return TRUE;
}

void showOutOfMemory() noexcept
{
    // No memory left even for the message: a fixed one still tells the user.
    MessageBoxW(nullptr, L"Kestrevane had to stop: out of memory.", L"Kestrevane", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

} // namespace

int showFailure(const startup::FailureReport& report) noexcept
{
    // The main window's end asked the loop to quit; the message box would take that as its own end.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    try {
        MessageBoxW(nullptr, widen(report.message).c_str(), L"Kestrevane", MB_OK | MB_ICONERROR | MB_TASKMODAL);
    } catch (...) {
        showOutOfMemory();
    }
    return report.exitCode;
}

int showCurrentFailure(const std::string& logPath) noexcept
{
    try {
        return showFailure(startup::reportCurrentFailure(logPath));
    } catch (...) {
        showOutOfMemory();
        return 2;
    }
}

void keepCurrentFailure() noexcept
{
    if (failureKept) return; // the first failure is the one to report
    try {
        kept = startup::reportCurrentFailure(reportedLogPath);
    } catch (...) {
        kept = {"Kestrevane had to stop: out of memory.", 2};
    }
    failureKept = true;
    PostQuitMessage(kept.exitCode);
}

bool takeKeptFailure(startup::FailureReport& report) noexcept
{
    if (!failureKept) return false;
    failureKept = false;
    report = std::move(kept);
    return true;
}

void showFailureOnTerminate(const std::string& logPath)
{
    reportedLogPath = logPath;
    std::set_terminate([] {
        // Nothing unwinds the windows here; they must not stand there unanswered.
        EnumThreadWindows(GetCurrentThreadId(), hide, 0);
        try {
            showFailure(startup::reportUnexpectedFailure(reportedLogPath));
        } catch (...) {
            showOutOfMemory();
        }
        std::_Exit(3);
    });
}

} // namespace kestrevane::win32
