// Quick Info message: its four pieces from the probes, after success and after failure.
#include "sysinfo/quick_info_text.h"

#include <gtest/gtest.h>

#include <vector>

#include "case_name.h"
#include "fake_system_query.h"
#include "sysinfo/uptime_text.h"
#include "sysinfo/windows_version_text.h"

namespace kestrevane::sysinfo {
namespace {

using testing::FakeSystemQuery;
using testing::versionResult;

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

struct TrimCase {
    const char* name;
    std::string uptime, version, expected;
};

class QuickInfoTrim : public ::testing::TestWithParam<TrimCase> {};

TEST_P(QuickInfoTrim, RemovesOnlyBlanksAtBothEnds)
{
    EXPECT_EQ(quickInfoText(GetParam().uptime, GetParam().version), GetParam().expected);
}

const std::vector<TrimCase>& trimCases()
{
    static const std::vector<TrimCase> rows{
        TrimCase{"blanks_around_both_removed", "  up  ", " v ", "[ Boot info ]\r\nup\r\n\r\n[ Your system ]\r\nv"},
        TrimCase{"inner_blanks_kept", "a b", "c  d", "[ Boot info ]\r\na b\r\n\r\n[ Your system ]\r\nc  d"},
        TrimCase{"crlf_tab_not_trimmed", "\tup\r\n", "\r\nv\r\n ",
                 "[ Boot info ]\r\n\tup\r\n\r\n\r\n[ Your system ]\r\n\r\nv\r\n"},
        TrimCase{"all_blank_pieces_vanish", "   ", " ", "[ Boot info ]\r\n\r\n\r\n[ Your system ]\r\n"},
    };
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Pieces, QuickInfoTrim, ::testing::ValuesIn(trimCases()), kestrevane::testing::CaseName());

} // namespace
} // namespace kestrevane::sysinfo
