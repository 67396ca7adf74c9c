// The log's record line as written and as read back, including lines the program never writes.
#include "startup/startup_log.h"

#include <gtest/gtest.h>

#include "case_name.h"

namespace kestrevane::startup {
namespace {

TEST(StartupRecord, LineIsThreeQuotedFieldsClosedByCrLf)
{
    EXPECT_EQ(formatRecordLine({"12/6/2026", "07:41:09", "3"}), "\"12/6/2026\",\"07:41:09\",\"3\"\r\n");
    EXPECT_EQ(formatRecordLine({"", "", ""}), "\"\",\"\",\"\"\r\n");
}

struct ParseCase {
    const char* name;
    std::string line;
    StartupRecord expected;
};

class ParseRecordLine : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseRecordLine, ReadsFields)
{
    EXPECT_EQ(parseRecordLine(GetParam().line), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParseRecordLine,
    ::testing::Values(
        ParseCase{"written_form", "\"12/6/2026\",\"07:41:09\",\"3\"", {"12/6/2026", "07:41:09", "3"}},
        ParseCase{"comma_inside_quotes", "\"Dec 6, 2026\",\"07:41:09\",\"3\"", {"Dec 6, 2026", "07:41:09", "3"}},
        ParseCase{"unquoted", "12/6/2026,07:41:09,3", {"12/6/2026", "07:41:09", "3"}},
        ParseCase{"blanks_around_fields", "  \"a\" , b ,\t\"c\"  ", {"a", "b", "c"}},
        ParseCase{"missing_closing_quote", "\"12/6/2026,07:41:09,3", {"12/6/2026,07:41:09,3", "", ""}},
        ParseCase{"junk_after_closing_quote", "\"a\"x,\"b\",\"c\"", {"a", "b", "c"}},
        ParseCase{"extra_fields_ignored", "\"a\",\"b\",\"c\",\"d\"", {"a", "b", "c"}},
        ParseCase{"too_few_fields", "\"a\"", {"a", "", ""}},
        ParseCase{"empty_line", "", {"", "", ""}},
        ParseCase{"nul_bytes_kept", std::string("\"a\0b\",\"t\",\"1\"", 13), {std::string("a\0b", 3), "t", "1"}}),
    kestrevane::testing::CaseName());

struct LastCase {
    const char* name;
    std::string log;
    std::optional<StartupRecord> expected;
};

class LastRecord : public ::testing::TestWithParam<LastCase> {};

TEST_P(LastRecord, IsTheLastWholeLine)
{
    EXPECT_EQ(lastRecord(GetParam().log), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Logs, LastRecord,
    ::testing::Values(
        LastCase{"empty", "", std::nullopt},
        LastCase{"only_crlf", "\r\n\r\n", std::nullopt},
        LastCase{"one_byte", "x", std::nullopt},
        LastCase{"three_records", "\"d\",\"t\",\"1\"\r\n\"d\",\"t\",\"2\"\r\n\"d\",\"t\",\"3\"\r\n",
                 StartupRecord{"d", "t", "3"}},
        LastCase{"torn_last_line_ignored", "\"d\",\"t\",\"1\"\r\n\"d\",\"t\",\"2\"\r\n\"d\",\"t", StartupRecord{"d", "t", "2"}},
        LastCase{"blank_lines_after_last", "\"d\",\"t\",\"1\"\r\n  \r\n\r\n", StartupRecord{"d", "t", "1"}},
        LastCase{"lf_only_line_ends", "\"d\",\"t\",\"1\"\n\"d\",\"t\",\"2\"\n", StartupRecord{"d", "t", "2"}}),
    kestrevane::testing::CaseName());

TEST(ParseCount, AcceptsDigitsOnly)
{
    EXPECT_EQ(parseCount("3"), 3u);
    EXPECT_EQ(parseCount(" 42 "), 42u);
    EXPECT_EQ(parseCount("007"), 7u);
    EXPECT_EQ(parseCount("999999999999999999"), 999999999999999999u);
    EXPECT_EQ(parseCount(""), std::nullopt);
    EXPECT_EQ(parseCount("-1"), std::nullopt);
    EXPECT_EQ(parseCount("3x"), std::nullopt);
    EXPECT_EQ(parseCount("1 2"), std::nullopt);
    EXPECT_EQ(parseCount("9999999999999999999"), std::nullopt); // would overflow
}

TEST(LogPath, AddsBackslashAndName)
{
    EXPECT_EQ(logPath("C:\\Tools"), "C:\\Tools\\kestrevane.kvn");
    EXPECT_EQ(logPath("C:\\"), "C:\\\\kestrevane.kvn");
}

} // namespace
} // namespace kestrevane::startup
