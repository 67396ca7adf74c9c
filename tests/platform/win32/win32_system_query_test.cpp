// The raw system values: a running tick count, a filled version record, whole name buffers.
#include "platform/win32/win32_system_query.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/text_convert.h"

namespace kestrevane::win32 {
namespace {

std::string cutAtNul(const std::string& text) { return text.substr(0, text.find('\0')); }

TEST(Win32SystemQuery, MillisecondsRunForward)
{
    Win32SystemQuery query;
    const std::uint64_t first = query.millisecondsSinceStart();
    Sleep(100);
    const std::uint64_t second = query.millisecondsSinceStart();
    EXPECT_GT(first, 0u);
    EXPECT_GE(second, first + 50) << "the count must follow the clock";
    EXPECT_LT(second, first + 10000);
}

TEST(Win32SystemQuery, VersionRecordIsFilled)
{
    const sysinfo::VersionQueryResult result = Win32SystemQuery().queryVersion();
    ASSERT_NE(result.returned, 0);
    EXPECT_GT(result.record.majorVersion, 0);
    EXPECT_GE(result.record.minorVersion, 0);
    EXPECT_GT(result.record.buildNumber, 0);
    EXPECT_EQ(result.record.platformId, VER_PLATFORM_WIN32_NT);
    // The whole field, NULs and all: the caller cuts it.
    EXPECT_EQ(result.record.servicePack.size(), 128u);
    EXPECT_EQ(result.record.servicePack.back(), '\0');
}

struct NameRow {
    const char* name;
    std::string (Win32SystemQuery::*query)(const std::string&, std::uint32_t);
    BOOL (WINAPI* wide)(LPWSTR, LPDWORD); // the same name through the wide API
};

TEST(Win32SystemQuery, NamesComeBackInTheWholeBuffer)
{
    const NameRow rows[] = {
        {"computer", &Win32SystemQuery::queryComputerName, GetComputerNameW},
        {"user", &Win32SystemQuery::queryUserName, GetUserNameW},
    };
    for (const NameRow& row : rows) {
        Win32SystemQuery query;
        const std::string buffer = (query.*row.query)(std::string(255, ' '), 254);
        EXPECT_EQ(buffer.size(), 255u) << row.name;
        const std::string name = cutAtNul(buffer);
        EXPECT_FALSE(name.empty()) << row.name;
        EXPECT_LT(name.size(), buffer.size()) << row.name << ": no NUL after the name";
        EXPECT_EQ(buffer.find_first_not_of(' ', name.size() + 1), std::string::npos)
            << row.name << ": the blanks after the NUL are untouched";

        wchar_t wide[256];
        DWORD size = 256;
        ASSERT_TRUE(row.wide(wide, &size)) << row.name;
        EXPECT_EQ(name, narrow(std::wstring_view(wide, wcsnlen(wide, 256)))) << row.name;
    }
}

TEST(Win32SystemQuery, SizeLargerThanBufferNeverWritesPastIt)
{
    // Two bytes cannot hold any name and its NUL: the call fails and the buffer stays its own length.
    const std::string buffer = Win32SystemQuery().queryComputerName("  ", 254);
    EXPECT_EQ(buffer.size(), 2u);
}

} // namespace
} // namespace kestrevane::win32
