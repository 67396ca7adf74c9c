// The lock between starts: one name per log, whatever the path's spelling.
#include "platform/win32/win32_log_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/win32/text_convert.h"
#include "win32/temp_directory.h"

namespace kestrevane::win32 {
namespace {

TEST(LogLockName, OneNamePerLog)
{
    const std::wstring name = logLockName("C:\\Tools\\Kv\\kestrevane.kvn");
    EXPECT_EQ(name.find(L'\\'), std::wstring::npos) << "a backslash would name a namespace";
    const char* sameLog[] = {"c:\\tools\\kv\\KESTREVANE.KVN", "C:\\Tools\\Kv\\.\\kestrevane.kvn",
                             "C:\\Tools\\x\\..\\Kv\\kestrevane.kvn", "C:/Tools/Kv/kestrevane.kvn"};
    for (const char* path : sameLog) EXPECT_EQ(logLockName(path), name) << path;
    const char* otherLogs[] = {"C:\\Tools\\Kv2\\kestrevane.kvn", "D:\\Tools\\Kv\\kestrevane.kvn",
                               "C:\\Tools\\kestrevane.kvn"};
    for (const char* path : otherLogs) EXPECT_NE(logLockName(path), name) << path;
}

TEST(LogLockName, ShortSpellingOfTheFolderNamesTheSameLog)
{
    testing::TempDirectory temp;
    const std::wstring folder = temp.file(L"Kestrevane long folder");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    wchar_t shortName[MAX_PATH];
    const DWORD n = GetShortPathNameW(folder.c_str(), shortName, MAX_PATH);
    ASSERT_TRUE(n > 0 && n < MAX_PATH) << "no short name: error " << GetLastError();
    if (std::wstring(shortName, n) == folder) GTEST_SKIP() << "the file system here makes no 8.3 names";
    const std::string log = "\\kestrevane.kvn";
    EXPECT_EQ(logLockName(narrow(std::wstring(shortName, n)) + log), logLockName(narrow(folder) + log));
}

TEST(Win32LogLock, SecondHolderWaitsForTheFirst)
{
    const std::string log = "C:\\kestrevane-lock-test\\kestrevane.kvn";
    Win32LogLock first;
    first.acquire(log);
    std::atomic<bool> secondHolds{false};
    std::thread other([&] {
        Win32LogLock second;
        second.acquire(log);
        secondHolds = true;
        second.release();
    });
    Sleep(300);
    EXPECT_FALSE(secondHolds) << "two starts held the log's lock at once";
    first.release();
    other.join();
    EXPECT_TRUE(secondHolds);
}

} // namespace
} // namespace kestrevane::win32
