// UTF-8, UTF-16 and ANSI conversions: exact results, embedded NULs, invalid input.
#include "platform/win32/text_convert.h"

#include <gtest/gtest.h>

#include "case_name.h"
#include "platform/win32/win32_services.h"

using namespace std::string_literals;

namespace kestrevane::win32 {
namespace {

struct Utf16Row {
    std::string name;
    std::string utf8;
    std::wstring utf16;
};

class Utf8Utf16 : public ::testing::TestWithParam<Utf16Row> {};

TEST_P(Utf8Utf16, ConvertsBothWays)
{
    const Utf16Row& row = GetParam();
    EXPECT_EQ(widen(row.utf8), row.utf16);
    EXPECT_EQ(narrow(row.utf16), row.utf8);
}

INSTANTIATE_TEST_SUITE_P(Texts, Utf8Utf16, ::testing::Values(
    Utf16Row{"Empty", "", L""},
    Utf16Row{"Ascii", "12/6/2026", L"12/6/2026"},
    Utf16Row{"Latin", "Zo\xC3\xAB", L"Zo\u00EB"},
    Utf16Row{"Cjk", "\xE6\x97\xA5\xE6\x9C\xAC", L"\u65E5\u672C"},
    Utf16Row{"SurrogatePair", "\xF0\x9D\x84\x9E", L"\xD834\xDD1E"},
    Utf16Row{"EmbeddedNuls", "a\0b\0"s, L"a\0b\0"s},
    Utf16Row{"OnlyNul", "\0"s, L"\0"s}
), kestrevane::testing::CaseName{});

struct InvalidRow {
    std::string name;
    std::string utf8;
    std::wstring utf16; // what must come out: the valid parts kept, U+FFFD for the rest
};

class InvalidUtf8 : public ::testing::TestWithParam<InvalidRow> {};

TEST_P(InvalidUtf8, BecomesReplacementCharacter)
{
    EXPECT_EQ(widen(GetParam().utf8), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(Bytes, InvalidUtf8, ::testing::Values(
    InvalidRow{"LoneContinuation", "a\x80z", L"a\uFFFDz"},
    InvalidRow{"ByteFF", "\xFF", L"\uFFFD"},
    InvalidRow{"TruncatedAtEnd", "ab\xC3", L"ab\uFFFD"},
    InvalidRow{"TruncatedBeforeNul", "\xE6\x97\0x"s, L"\uFFFD\0x"s}
), kestrevane::testing::CaseName{});

TEST(Narrow, LoneSurrogateBecomesReplacementCharacter)
{
    EXPECT_EQ(narrow(L"a\xD800z"), "a\xEF\xBF\xBDz");
}

struct AnsiRow {
    std::string name;
    UINT codePage;
    std::string utf8;
    std::string ansi;
};

class AnsiRoundTrip : public ::testing::TestWithParam<AnsiRow> {};

TEST_P(AnsiRoundTrip, ConvertsBothWays)
{
    const AnsiRow& row = GetParam();
    EXPECT_EQ(utf8ToAnsi(row.utf8, row.codePage), row.ansi);
    EXPECT_EQ(ansiToUtf8(row.ansi, row.codePage), row.utf8);
}

INSTANTIATE_TEST_SUITE_P(CodePages, AnsiRoundTrip, ::testing::Values(
    AnsiRow{"Empty", 1252, "", ""},
    AnsiRow{"LogLine", 1252, "\"12/6/2026\",\"07:41:09\",\"3\"\r\n", "\"12/6/2026\",\"07:41:09\",\"3\"\r\n"},
    AnsiRow{"WesternLatin", 1252, "Zo\xC3\xAB \xE2\x82\xAC", "Zo\xEB \x80"},
    AnsiRow{"CentralEuropean", 1250, "\xC5\x81\xC3\xB3\xC5\xBA", "\xA3\xF3\x9F"},
    AnsiRow{"Japanese", 932, "\xE6\x97\xA5\xE6\x9C\xAC", "\x93\xFA\x96\x7B"},
    AnsiRow{"EmbeddedNuls", 1252, "\0a\0\xC3\xAB"s, "\0a\0\xEB"s},
    AnsiRow{"ServicePackField", 1252, "Service Pack 1"s + std::string(114, '\0'),
            "Service Pack 1"s + std::string(114, '\0')}
), kestrevane::testing::CaseName{});

struct DefaultCharRow {
    std::string name;
    UINT codePage;
    std::string utf8;
    std::string ansi;
};

class MissingCharacters : public ::testing::TestWithParam<DefaultCharRow> {};

TEST_P(MissingCharacters, BecomeTheDefaultCharacter)
{
    EXPECT_EQ(utf8ToAnsi(GetParam().utf8, GetParam().codePage), GetParam().ansi);
}

INSTANTIATE_TEST_SUITE_P(CodePages, MissingCharacters, ::testing::Values(
    DefaultCharRow{"CjkInWestern", 1252, "a\xE6\x97\xA5z", "a?z"},
    // A look-alike would be "a": only the default character keeps the loss visible.
    DefaultCharRow{"NoBestFit", 1252, "\xC4\x81", "?"},
    DefaultCharRow{"InvalidUtf8", 1252, "a\xFFz", "a?z"}
), kestrevane::testing::CaseName{});

TEST(Win32TextCodec, KeepsLogLinesAndMarksWhatTheCodePageLacks)
{
    Win32TextCodec codec;
    const std::string line = "\"06.12.2026\",\"07:41:09\",\"12\"\r\n";
    EXPECT_EQ(codec.encode(line), line);
    EXPECT_EQ(codec.decode(line), line);
    // A private-use character is in no ANSI code page.
    EXPECT_EQ(codec.encode("x\xEE\x80\x80y"), "x?y");
}

} // namespace
} // namespace kestrevane::win32
