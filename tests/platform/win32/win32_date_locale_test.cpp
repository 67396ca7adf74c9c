// Date texts of real locales through the system's formatter, read back by its parser.
#include "platform/win32/win32_date_locale.h"

#include <gtest/gtest.h>

#include <regex>

#include "case_name.h"

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

} // namespace
} // namespace kestrevane::win32
