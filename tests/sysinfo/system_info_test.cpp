// The system probes and the Quick Info message: the buffers handed to the system, the texts
// cut and composed from what it returns, after success and after failure.
#include "sysinfo/system_info.h"

#include <gtest/gtest.h>

#include <vector>

#include "case_name.h"
#include "fake_system_query.h"

namespace kestrevane::sysinfo {
namespace {

using testing::FakeSystemQuery;
using testing::versionResult;

// Cutting at the first NUL within the first 255 characters, and only there.
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

// Name probes: the buffer handed to the system, the right query, the text cut at the NUL.
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

// Uptime text: rounding on the total, two-digit fields, hours past the old 32-bit wrap.
struct UptimeCase {
    const char* name;
    std::uint64_t milliseconds;
    const char* expected;
};

class UptimeText : public ::testing::TestWithParam<UptimeCase> {};

TEST_P(UptimeText, FromMilliseconds)
{
    EXPECT_EQ(uptimeTextFromMilliseconds(GetParam().milliseconds),
              std::string("Hours since reboot: ") + GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, UptimeText,
    ::testing::Values(
        UptimeCase{"zero", 0, "00:00:00"},
        UptimeCase{"499_rounds_down", 499, "00:00:00"},
        UptimeCase{"500_half_to_even_zero", 500, "00:00:00"},
        UptimeCase{"501_rounds_up", 501, "00:00:01"},
        UptimeCase{"1500_half_to_even_two", 1500, "00:00:02"},
        UptimeCase{"2500_half_to_even_two", 2500, "00:00:02"},
        UptimeCase{"3500_half_to_even_four", 3500, "00:00:04"},
        UptimeCase{"5000500_half_to_even_down", 5000500, "01:23:20"},
        UptimeCase{"59499_stays_in_minute", 59499, "00:00:59"},
        UptimeCase{"59500_carries_into_minute", 59500, "00:01:00"},
        UptimeCase{"3599500_carries_into_hour", 3599500, "01:00:00"},
        UptimeCase{"3723000_one_two_three", 3723000, "01:02:03"},
        UptimeCase{"86399999_no_day_field", 86399999, "24:00:00"},
        UptimeCase{"360000000_three_digit_hours", 360000000, "100:00:00"},
        UptimeCase{"2147483647_below_2_pow_31", 2147483647, "596:31:24"},
        UptimeCase{"2147483648_at_2_pow_31", 2147483648u, "596:31:24"},
        UptimeCase{"4294967295_largest_32_bit", 4294967295u, "1193:02:47"},
        UptimeCase{"4294967296_no_wrap_at_2_pow_32", 4294967296u, "1193:02:47"},
        UptimeCase{"4294967500_half_past_2_pow_32", 4294967500u, "1193:02:48"},
        UptimeCase{"100_days_keeps_growing", 8640000000u, "2400:00:00"},
        UptimeCase{"largest_64_bit", UINT64_MAX, "5124095576030:25:52"}),
    kestrevane::testing::CaseName());

// Version text: every release-name row, the service pack, the whole build field, the failure.
struct VersionCase {
    const char* name;
    VersionQueryResult result;
    std::string expected;
};

VersionCase succeeded(const char* name, std::int32_t major, std::int32_t minor, std::int32_t build,
                      std::int32_t platform, const std::string& servicePack, std::string expected)
{
    return {name, versionResult(1, major, minor, build, platform, servicePack), std::move(expected)};
}

class VersionText : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionText, FromQueryResult)
{
    EXPECT_EQ(windowsVersionTextFrom(GetParam().result), GetParam().expected);
}

const std::vector<VersionCase>& versionCases()
{
    static const std::vector<VersionCase> rows{
        succeeded("nt_3_51", 3, 51, 1057, 2, "", "Windows NT 3.51 \r\nWindows Version Number = 3.51.1057\r\n"),
        succeeded("nt_3_any_platform", 3, 10, 511, 1, "", "Windows NT 3.10 \r\nWindows Version Number = 3.10.511\r\n"),
        succeeded("win95", 4, 0, 950, 1, "", "Windows95 \r\nWindows Version Number = 4.0.950\r\n"),
        succeeded("win98_build_written_whole", 4, 10, 67766222, 1, "",
                  "Windows98 \r\nWindows Version Number = 4.10.67766222\r\n"),
        succeeded("win_me", 4, 90, 3000, 1, "", "Windows ME \r\nWindows Version Number = 4.90.3000\r\n"),
        succeeded("unknown_9x", 4, 3, 1, 1, "", "Unknown Windows 9x system \r\nWindows Version Number = 4.3.1\r\n"),
        succeeded("nt_4", 4, 0, 1381, 2, "Service Pack 6",
                  "Windows NT 4 Service Pack 6\r\nWindows Version Number = 4.0.1381\r\n"),
        succeeded("platform_0_is_not_9x", 4, 0, 1381, 0, "", "Windows NT 4 \r\nWindows Version Number = 4.0.1381\r\n"),
        succeeded("minor_90_on_nt_is_unknown_nt_4", 4, 90, 1, 2, "",
                  "Unknown NT 4-based version \r\nWindows Version Number = 4.90.1\r\n"),
        succeeded("win2000_empty_service_pack_keeps_blank", 5, 0, 2195, 2, "",
                  "Windows 2000 \r\nWindows Version Number = 5.0.2195\r\n"),
        succeeded("win2000_any_platform", 5, 0, 2195, 7, "", "Windows 2000 \r\nWindows Version Number = 5.0.2195\r\n"),
        succeeded("xp_service_pack_1", 5, 1, 2600, 2, "Service Pack 1",
                  "Windows XP (Whistler) Service Pack 1\r\nWindows Version Number = 5.1.2600\r\n"),
        succeeded("unknown_nt_5", 5, 2, 3790, 2, "", "Unknown Windows NT 5 system \r\nWindows Version Number = 5.2.3790\r\n"),
        succeeded("unknown_system_no_blank_before_pack", 6, 0, 6000, 2, "Service Pack 1",
                  "Unknown Windows systemService Pack 1\r\nWindows Version Number = 6.0.6000\r\n"),
        succeeded("major_2_unknown", 2, 0, 0, 0, "", "Unknown Windows system\r\nWindows Version Number = 2.0.0\r\n"),
        succeeded("negative_build_signed", 5, 1, -2147483647 - 1, 2, "",
                  "Windows XP (Whistler) \r\nWindows Version Number = 5.1.-2147483648\r\n"),
        succeeded("text_after_nul_dropped", 5, 1, 2600, 2, std::string("SP2\0junk", 8),
                  "Windows XP (Whistler) SP2\r\nWindows Version Number = 5.1.2600\r\n"),
        VersionCase{"failed_query", versionResult(0, 0, 0, 0, 0, ""), "Unable to get version information. GetVersionEx returned 0"},
        VersionCase{"failed_query_ignores_record", versionResult(0, 5, 1, 2600, 2, "Service Pack 1"),
                    "Unable to get version information. GetVersionEx returned 0"},
        VersionCase{"any_nonzero_return_succeeds", versionResult(-1, 5, 0, 2195, 2, ""),
                    "Windows 2000 \r\nWindows Version Number = 5.0.2195\r\n"},
    };
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Releases, VersionText, ::testing::ValuesIn(versionCases()), kestrevane::testing::CaseName());

// Quick Info message: its four pieces from the probes, after success and after failure.
TEST(QuickInfoTitle, IsTheProgramsName) { EXPECT_EQ(quickInfoTitle, "Kestrevane QuickInfo"); }

struct ProbeCase {
    const char* name;
    std::uint64_t milliseconds;
    VersionQueryResult version;
    std::string expected;
};

class QuickInfoFromProbes : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(QuickInfoFromProbes, BuildsTheMessage)
{
    FakeSystemQuery system;
    system.milliseconds = GetParam().milliseconds;
    system.version = GetParam().version;
    EXPECT_EQ(quickInfoText(uptimeText(system), windowsVersionText(system)), GetParam().expected);
}

const std::vector<ProbeCase>& probeCases()
{
    static const std::vector<ProbeCase> rows{
        ProbeCase{"xp_ends_with_crlf_of_version_line", 3723000,
                  versionResult(1, 5, 1, 2600, 2, "Service Pack 1"),
                  "[ Boot info ]\r\nHours since reboot: 01:02:03\r\n\r\n[ Your system ]\r\n"
                  "Windows XP (Whistler) Service Pack 1\r\nWindows Version Number = 5.1.2600\r\n"},
        ProbeCase{"failed_version_query_ends_without_crlf", 3723000, versionResult(0, 0, 0, 0, 0, ""),
                  "[ Boot info ]\r\nHours since reboot: 01:02:03\r\n\r\n[ Your system ]\r\n"
                  "Unable to get version information. GetVersionEx returned 0"},
        // The blank that ends the release name sits before CR LF, not at the end: it stays.
        ProbeCase{"empty_service_pack_blank_kept", 0, versionResult(1, 5, 0, 2195, 2, ""),
                  "[ Boot info ]\r\nHours since reboot: 00:00:00\r\n\r\n[ Your system ]\r\n"
                  "Windows 2000 \r\nWindows Version Number = 5.0.2195\r\n"},
    };
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Reports, QuickInfoFromProbes, ::testing::ValuesIn(probeCases()), kestrevane::testing::CaseName());

struct QuickInfoTrimCase {
    const char* name;
    std::string uptime, version, expected;
};

class QuickInfoTrim : public ::testing::TestWithParam<QuickInfoTrimCase> {};

TEST_P(QuickInfoTrim, RemovesOnlyBlanksAtBothEnds)
{
    EXPECT_EQ(quickInfoText(GetParam().uptime, GetParam().version), GetParam().expected);
}

const std::vector<QuickInfoTrimCase>& trimCases()
{
    static const std::vector<QuickInfoTrimCase> rows{
        QuickInfoTrimCase{"blanks_around_both_removed", "  up  ", " v ", "[ Boot info ]\r\nup\r\n\r\n[ Your system ]\r\nv"},
        QuickInfoTrimCase{"inner_blanks_kept", "a b", "c  d", "[ Boot info ]\r\na b\r\n\r\n[ Your system ]\r\nc  d"},
        QuickInfoTrimCase{"crlf_tab_not_trimmed", "\tup\r\n", "\r\nv\r\n ",
                 "[ Boot info ]\r\n\tup\r\n\r\n\r\n[ Your system ]\r\n\r\nv\r\n"},
        QuickInfoTrimCase{"all_blank_pieces_vanish", "   ", " ", "[ Boot info ]\r\n\r\n\r\n[ Your system ]\r\n"},
    };
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Pieces, QuickInfoTrim, ::testing::ValuesIn(trimCases()), kestrevane::testing::CaseName());

} // namespace
} // namespace kestrevane::sysinfo
