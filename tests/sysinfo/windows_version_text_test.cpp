// Version text: every release-name row, the service pack, the whole build field, the failure.
#include "sysinfo/windows_version_text.h"

#include <gtest/gtest.h>

#include <vector>

#include "case_name.h"
#include "fake_system_query.h"

namespace kestrevane::sysinfo {
namespace {

using testing::versionResult;

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

} // namespace
} // namespace kestrevane::sysinfo
