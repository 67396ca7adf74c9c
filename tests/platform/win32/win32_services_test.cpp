// The system's own services: date texts of real locales through the system's formatter,
// read back by its parser; the raw system values: a running tick count, a filled version
// record, whole name buffers.
#include "platform/win32/win32_services.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <regex>

#include "case_name.h"
#include "platform/win32/text_convert.h"

using namespace std::string_literals;

namespace kestrevane::win32 {
namespace {

constexpr LCID englishUs = 0x0409;
constexpr LCID german = 0x0407;

struct FormatRow {
    std::string name;
    LCID locale;
    startup::CivilDate date;
    std::string shortDate; // a pattern: Windows pads German days and months to two digits, Wine does not
    std::string longDate;
};

class DateFormats : public ::testing::TestWithParam<FormatRow> {};

TEST_P(DateFormats, FollowTheLocale)
{
    Win32DateLocale locale(GetParam().locale);
    EXPECT_TRUE(std::regex_match(locale.shortDate(GetParam().date), std::regex(GetParam().shortDate)))
        << locale.shortDate(GetParam().date);
    EXPECT_EQ(locale.longDate(GetParam().date), GetParam().longDate);
}

INSTANTIATE_TEST_SUITE_P(Locales, DateFormats, ::testing::Values(
    FormatRow{"EnglishUs", englishUs, {2026, 12, 6}, "12/6/2026", "Sunday, December 6, 2026"},
    FormatRow{"EnglishUsLeapDay", englishUs, {2028, 2, 29}, "2/29/2028", "Tuesday, February 29, 2028"},
    FormatRow{"German", german, {2026, 12, 6}, R"(0?6\.12\.2026)", "Sonntag, 6. Dezember 2026"},
    FormatRow{"GermanNonAsciiMonth", german, {2027, 3, 1}, R"(0?1\.0?3\.2027)", "Montag, 1. M\xC3\xA4rz 2027"}
), kestrevane::testing::CaseName{});

TEST(Win32DateLocale, TimeSeparators)
{
    EXPECT_EQ(Win32DateLocale(englishUs).timeSeparator(), ":");
    EXPECT_EQ(Win32DateLocale(german).timeSeparator(), ":");
    EXPECT_FALSE(Win32DateLocale().timeSeparator().empty());
}

struct ParseRow {
    std::string name;
    startup::CivilDate date;
};

class ShortDateReadBack : public ::testing::TestWithParam<ParseRow> {};

// The start-up compares the logged date with today: what is written must read back as the same day.
TEST_P(ShortDateReadBack, IsTheSameDay)
{
    for (LCID lcid : {englishUs, german, static_cast<LCID>(LOCALE_USER_DEFAULT)}) {
        Win32DateLocale locale(lcid);
        const std::string text = locale.shortDate(GetParam().date);
        ASSERT_FALSE(text.empty()) << "locale " << lcid;
        const std::optional<startup::CivilDate> read = locale.parseDate(text);
        ASSERT_TRUE(read.has_value()) << "locale " << lcid << " text " << text;
        EXPECT_EQ(*read, GetParam().date) << "locale " << lcid << " text " << text;
    }
}

INSTANTIATE_TEST_SUITE_P(Dates, ShortDateReadBack, ::testing::Values(
    ParseRow{"FirstOfDecember", {2026, 12, 1}},
    ParseRow{"TwelfthOfJanuary", {2026, 1, 12}},
    ParseRow{"SixthOfDecember", {2026, 12, 6}},
    ParseRow{"NewYearsEve", {2026, 12, 31}},
    ParseRow{"LeapDay", {2028, 2, 29}},
    ParseRow{"FirstOfJanuary", {2027, 1, 1}}
), kestrevane::testing::CaseName{});

struct RejectRow {
    std::string name;
    LCID locale;
    std::string text;
};

class NotADate : public ::testing::TestWithParam<RejectRow> {};

TEST_P(NotADate, ReadsAsNothing)
{
    EXPECT_FALSE(Win32DateLocale(GetParam().locale).parseDate(GetParam().text).has_value());
}

INSTANTIATE_TEST_SUITE_P(Texts, NotADate, ::testing::Values(
    RejectRow{"EmptyUs", englishUs, ""},
    RejectRow{"EmptyGerman", german, ""},
    RejectRow{"GarbageUs", englishUs, "garbage"},
    RejectRow{"GarbageGerman", german, "kein Datum"},
    RejectRow{"CountNotDate", englishUs, "\"3\""},
    RejectRow{"NulInside", englishUs, "12/6/2026\0junk"s}
), kestrevane::testing::CaseName{});


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
