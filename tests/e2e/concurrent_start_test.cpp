// Several starts at the same moment, as from two autostart places or a double click:
// each adds exactly one record, with its own count.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "product.h"
#include "product_test.h"

namespace kestrevane::e2e {
namespace {

constexpr int instances = 8;
constexpr int rounds = 20;

struct Started {
    HANDLE process = nullptr;
    DWORD id = 0;
};

// Started suspended and let go together, so their start-ups overlap.
std::vector<Started> startTogether(const std::wstring& exe, const std::wstring& workingDir)
{
    std::vector<Started> started;
    std::vector<HANDLE> threads;
    for (int i = 0; i < instances; ++i) {
        std::wstring commandLine = L"\"" + exe + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                            workingDir.c_str(), &startup, &info)) {
            ADD_FAILURE() << "CreateProcessW failed: " << GetLastError();
            break;
        }
        started.push_back({info.hProcess, info.dwProcessId});
        threads.push_back(info.hThread);
    }
    for (HANDLE t : threads) {
        ResumeThread(t);
        CloseHandle(t);
    }
    return started;
}

BOOL CALLBACK closeMainWindow(HWND hwnd, LPARAM processId)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == static_cast<DWORD>(processId) && IsWindowVisible(hwnd) && classOf(hwnd) == mainClass)
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
    return TRUE;
}

// Closes each instance once its main window shows; its exit code, or a note why none.
std::string endInstance(const Started& s)
{
    const DWORD start = GetTickCount();
    for (;;) {
        EnumWindows(closeMainWindow, static_cast<LPARAM>(s.id));
        if (WaitForSingleObject(s.process, 100) == WAIT_OBJECT_0) break;
        if (GetTickCount() - start > 30000) {
            TerminateProcess(s.process, 99);
            return "no main window to close within 30 s (a message box instead?)";
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(s.process, &code);
    return code == 0 ? std::string() : "exit code " + std::to_string(code);
}

TEST(ConcurrentStarts, EachAddsOneRecordWithItsOwnCount)
{
    ScratchDir scratch;
    const std::wstring exe = scratch.file(L"Kestrevane.exe");
    ASSERT_TRUE(CopyFileW(productPath().c_str(), exe.c_str(), FALSE));
    const std::wstring log = scratch.file(L"kestrevane.kvn");
    const std::regex record("\"[^\"]+\",\"\\d\\d.\\d\\d.\\d\\d\",\"(\\d+)\"");

    for (int round = 1; round <= rounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        DeleteFileW(log.c_str());
        const std::vector<Started> started = startTogether(exe, scratch.path());
        ASSERT_EQ(started.size(), static_cast<std::size_t>(instances));
        for (const Started& s : started) {
            EXPECT_EQ(endInstance(s), "") << "instance " << s.id;
            CloseHandle(s.process);
        }

        const std::optional<std::string> bytes = readBytes(log);
        ASSERT_TRUE(bytes.has_value());
        std::vector<int> counts;
        std::size_t at = 0;
        while (at < bytes->size()) {
            const std::size_t end = bytes->find("\r\n", at);
            ASSERT_NE(end, std::string::npos) << "a line without CR LF: " << ::testing::PrintToString(*bytes);
            std::smatch m;
            const std::string line = bytes->substr(at, end - at);
            ASSERT_TRUE(std::regex_match(line, m, record)) << "not a whole record: " << line;
            counts.push_back(std::stoi(m[1].str()));
            at = end + 2;
        }
        std::vector<int> expected(instances);
        for (int i = 0; i < instances; ++i) expected[static_cast<std::size_t>(i)] = i + 1;
        ASSERT_EQ(counts, expected) << ::testing::PrintToString(*bytes);
    }
}

} // namespace
} // namespace kestrevane::e2e
