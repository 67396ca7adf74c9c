// Uptime text: rounding on the total, two-digit fields, hours past the old 32-bit wrap.
#include "sysinfo/uptime_text.h"

#include <gtest/gtest.h>

#include "case_name.h"

namespace kestrevane::sysinfo {
namespace {

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

} // namespace
} // namespace kestrevane::sysinfo
