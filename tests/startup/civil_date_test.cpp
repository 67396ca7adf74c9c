// Calendar-day differences across month, year and leap-day boundaries.
#include "startup/civil_date.h"

#include <gtest/gtest.h>

namespace kestrevane::startup {
namespace {

TEST(CivilDate, DayDifferences)
{
    struct Row { CivilDate from, to; std::int64_t days; } rows[] = {
        {{2026, 12, 6}, {2026, 12, 6}, 0},
        {{2026, 12, 6}, {2026, 12, 5}, -1},
        {{2026, 12, 31}, {2027, 1, 1}, 1},
        {{2028, 2, 28}, {2028, 3, 1}, 2},  // leap year
        {{2100, 2, 28}, {2100, 3, 1}, 1},  // no leap day in 2100
        {{2000, 2, 28}, {2000, 3, 1}, 2},  // but one in 2000
        {{1970, 1, 1}, {1969, 12, 31}, -1},
        {{1899, 12, 30}, {2026, 12, 6}, 46362},
    };
    for (const Row& r : rows)
        EXPECT_EQ(dayDifference(r.from, r.to), r.days)
            << r.from.year << "-" << r.from.month << "-" << r.from.day << " to " << r.to.year << "-" << r.to.month;
    EXPECT_EQ(daysFromCivil({1970, 1, 1}), 0);
}

} // namespace
} // namespace kestrevane::startup
