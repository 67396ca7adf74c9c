// Cutting at the first NUL within the first 255 characters, and only there.
#include "sysinfo/trim_at_null.h"

#include <gtest/gtest.h>

#include "case_name.h"

namespace kestrevane::sysinfo {
namespace {

std::string withNulAt(std::size_t length, std::size_t position)
{
    std::string text(length, 'x');
    text[position - 1] = '\0';
    return text;
}

std::string repeated(const std::string& character, std::size_t times)
{
    std::string text;
    for (std::size_t i = 0; i < times; ++i) text += character;
    return text;
}

struct TrimCase {
    const char* name;
    std::string text;
    std::string expected;
};

class TrimAtNull : public ::testing::TestWithParam<TrimCase> {};

TEST_P(TrimAtNull, CutsTheTextAndTheArgument)
{
    std::string argument = GetParam().text;
    EXPECT_EQ(trimAtNull(argument), GetParam().expected);
    EXPECT_EQ(argument, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TrimAtNull,
    ::testing::Values(
        TrimCase{"nul_first_gives_empty", std::string(1, '\0') + std::string(254, ' '), ""},
        TrimCase{"cut_at_first_of_several_nuls", std::string("abc\0def\0", 8), "abc"},
        TrimCase{"blanks_after_name_dropped", std::string("PC01\0", 5) + std::string(250, ' '), "PC01"},
        TrimCase{"no_nul_in_255_blanks_unchanged", std::string(255, ' '), std::string(255, ' ')},
        TrimCase{"nul_at_255_is_found", withNulAt(300, 255), std::string(254, 'x')},
        TrimCase{"nul_only_at_256_unchanged", withNulAt(300, 256), withNulAt(300, 256)},
        // 名 is three bytes: the NUL after 128 of them is the 129th character, at byte 385.
        TrimCase{"characters_not_bytes_are_counted", repeated("\xE5\x90\x8D", 128) + '\0' + std::string(126, ' '),
                 repeated("\xE5\x90\x8D", 128)},
        TrimCase{"nul_after_255_characters_unchanged", repeated("\xC3\xA9", 255) + '\0',
                 repeated("\xC3\xA9", 255) + '\0'},
        TrimCase{"service_pack_field", std::string("Service Pack 1") + std::string(114, '\0'), "Service Pack 1"},
        TrimCase{"empty_service_pack_field", std::string(128, '\0'), ""},
        TrimCase{"short_text_without_nul_unchanged", "abc", "abc"},
        TrimCase{"empty_text_unchanged", "", ""}),
    kestrevane::testing::CaseName());

} // namespace
} // namespace kestrevane::sysinfo
