// Character replacement: the log's quote and comma passes, overlaps, far positions, UTF-8.
#include "ui/frm_main.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "case_name.h"

namespace kestrevane::ui {
namespace {

// `length` dots with `mark` at each of the 1-based `positions`.
std::string dotsWith(std::size_t length, char mark, std::initializer_list<std::size_t> positions)
{
    std::string text(length, '.');
    for (std::size_t p : positions) text[p - 1] = mark;
    return text;
}

// About one megabyte of log lines with a comma in every line.
std::string megabyteLog()
{
    std::string text;
    while (text.size() < 1024 * 1024) text += "\"12/6/2026\",\"07:41:09\",\"" + std::to_string(text.size()) + "\"\r\n";
    return text;
}

std::string withCommasBlanked(std::string text)
{
    std::replace(text.begin(), text.end(), ',', ' ');
    return text;
}

struct ReplaceCase {
    const char* name;
    std::string input, a, b, expected;
};

class ReplaceInString : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceInString, OverwritesFirstCharacterOfEachMatch)
{
    const ReplaceCase& c = GetParam();
    EXPECT_EQ(mReplaceInString(c.input, c.a, c.b), c.expected);
}

const std::vector<ReplaceCase>& replaceCases()
{
    static const std::vector<ReplaceCase> rows{
        ReplaceCase{"empty_input", "", ",", " ", ""},
        ReplaceCase{"no_occurrence_unchanged", "12/6/2026 07:41:09 3", ",", " ", "12/6/2026 07:41:09 3"},
        ReplaceCase{"quotes_become_blanks", "\"12/6/2026\",\"07:41:09\",\"3\"", "\"", " ",
                    " 12/6/2026 , 07:41:09 , 3 "},
        ReplaceCase{"commas_become_blanks", " 12/6/2026 , 07:41:09 , 3 ", ",", " ", " 12/6/2026   07:41:09   3 "},
        ReplaceCase{"adjacent_commas_both_replaced", "a,,b", ",", " ", "a  b"},
        ReplaceCase{"occurrence_first_and_last", ",a,", ",", " ", " a "},
        ReplaceCase{"empty_replacement_changes_nothing", "a,b", ",", "", "a,b"},
        ReplaceCase{"only_first_character_of_replacement", "a,b,c", ",", "xyz", "axbxc"},
        ReplaceCase{"case_sensitive", "Aa", "a", " ", "A "},
        ReplaceCase{"crlf_left_alone", "\"1\"\r\n\"2\"\r\n", "\"", " ", " 1 \r\n 2 \r\n"},
        ReplaceCase{"long_search_overwrites_first_only", "abcabc", "bc", "-", "a-ca-c"},
        ReplaceCase{"overlapping_matches_all_found", "aaaa", "aa", "x", "xxxa"},
        ReplaceCase{"search_longer_than_input", "ab", "abc", "x", "ab"},
        ReplaceCase{"empty_search_unchanged", "a,b", "", " ", "a,b"},
        ReplaceCase{"nul_bytes_are_ordinary", std::string("a\0b", 3), std::string(1, '\0'), " ", "a b"},
        ReplaceCase{"at_32766_replaced", dotsWith(32766, ',', {32766}), ",", " ", dotsWith(32766, ' ', {32766})},
        ReplaceCase{"at_32767_replaced", dotsWith(32767, ',', {32767}), ",", " ", dotsWith(32767, ' ', {32767})},
        ReplaceCase{"at_32766_32767_32768_40000", dotsWith(40000, ',', {32766, 32767, 32768, 40000}), ",", " ",
                    dotsWith(40000, ' ', {32766, 32767, 32768, 40000})},
        ReplaceCase{"every_comma_in_a_megabyte", megabyteLog(), ",", " ", withCommasBlanked(megabyteLog())},
        // Non-ASCII: a character is a whole UTF-8 sequence, so lengths may change.
        ReplaceCase{"utf8_search_replaced_by_ascii", "caf\xC3\xA9,\xC3\xA9t\xC3\xA9", "\xC3\xA9", "e", "cafe,ete"},
        ReplaceCase{"ascii_search_replaced_by_utf8", "a,b", ",", "\xE2\x80\xA2", "a\xE2\x80\xA2" "b"},
        ReplaceCase{"only_first_utf8_character_of_replacement", "a,b", ",", "\xC3\xA9\xC3\xA8", "a\xC3\xA9" "b"},
        ReplaceCase{"utf8_overlapping_matches", "\xC3\xA9\xC3\xA9\xC3\xA9", "\xC3\xA9\xC3\xA9", "x", "xx\xC3\xA9"},
        ReplaceCase{"four_byte_character_replaced", "a\xF0\x9F\x98\x80" "b", "\xF0\x9F\x98\x80", " ", "a b"},
        ReplaceCase{"stray_lead_byte_counts_as_one", "a\xC3" "b", "\xC3" "b", "x", "axb"},
    };
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Texts, ReplaceInString, ::testing::ValuesIn(replaceCases()), kestrevane::testing::CaseName());

TEST(ReplaceInStringLogLine, BothPassesBlankSixQuotesAndTwoCommasKeepingLength)
{
    const std::string line = "\"12/6/2026\",\"07:41:09\",\"3\"\r\n";
    const std::string quotesBlanked = mReplaceInString(line, "\"", " ");
    const std::string cleaned = mReplaceInString(quotesBlanked, ",", " ");
    EXPECT_EQ(cleaned, " 12/6/2026   07:41:09   3 \r\n");
    EXPECT_EQ(cleaned.size(), line.size());
    EXPECT_EQ(std::count(line.begin(), line.end(), ' ') + 8, std::count(cleaned.begin(), cleaned.end(), ' '));
}

} // namespace
} // namespace kestrevane::ui
