// Name probes: the buffer handed to the system, the right query, the text cut at the NUL.
#include "sysinfo/name_text.h"

#include <gtest/gtest.h>

#include "case_name.h"
#include "fake_system_query.h"

namespace kestrevane::sysinfo {
namespace {

using testing::FakeSystemQuery;

struct NameCase {
    const char* name;
    std::string (*probe)(SystemQuery&);
    const char* query;
    std::string written;  // what the system puts at the start of the buffer
    std::string expected;
};

class NameText : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameText, AsksWithBlankBufferAndCutsAtNul)
{
    FakeSystemQuery system;
    system.computerName = std::string("PC01\0", 5);
    system.userName = std::string("ada\0", 4);
    if (std::string(GetParam().query) == "computer") system.computerName = GetParam().written;
    else system.userName = GetParam().written;

    EXPECT_EQ(GetParam().probe(system), GetParam().expected);
    ASSERT_EQ(system.nameCalls.size(), 1u);
    EXPECT_EQ(system.nameCalls[0].query, GetParam().query);
    EXPECT_EQ(system.nameCalls[0].buffer, std::string(255, ' '));
    EXPECT_EQ(system.nameCalls[0].size, 254u);
}

const std::string longestName(253, 'n');

INSTANTIATE_TEST_SUITE_P(
    Probes, NameText,
    ::testing::Values(
        NameCase{"computer_name", computerNameText, "computer", std::string("KESTREL\0", 8), "KESTREL"},
        NameCase{"user_name", userNameText, "user", std::string("Grace Hopper\0", 13), "Grace Hopper"},
        NameCase{"computer_untouched_buffer_is_255_blanks", computerNameText, "computer", "", std::string(255, ' ')},
        NameCase{"user_untouched_buffer_is_255_blanks", userNameText, "user", "", std::string(255, ' ')},
        NameCase{"user_empty_name", userNameText, "user", std::string(1, '\0'), ""},
        NameCase{"user_longest_fitting_name", userNameText, "user", longestName + '\0', longestName},
        NameCase{"utf8_name_kept", computerNameText, "computer", std::string("B\xC3\xBCro\0", 6), "B\xC3\xBCro"},
        // Ł and 名前 are in no Western code page.
        NameCase{"user_name_outside_any_code_page_kept", userNameText, "user",
                 std::string("\xC5\x81ukasz \xE5\x90\x8D\xE5\x89\x8D\0", 15), "\xC5\x81ukasz \xE5\x90\x8D\xE5\x89\x8D"}),
    kestrevane::testing::CaseName());

} // namespace
} // namespace kestrevane::sysinfo
