// Calendar dates and times of day as the clock reports them, with day arithmetic.
#pragma once

#include <cstdint>

namespace kestrevane::startup {

struct CivilDate {
    int year = 1970;
    int month = 1; // 1..12
    int day = 1;   // 1..31

    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

struct LocalDateTime {
    CivilDate date;
    int hour = 0; // 0..23
    int minute = 0;
    int second = 0;
};

// Days since 1970-01-01 in the proleptic Gregorian calendar (negative before it).
std::int64_t daysFromCivil(const CivilDate& date);

// Whole calendar days from `from` to `to`: positive when `to` is later.
inline std::int64_t dayDifference(const CivilDate& from, const CivilDate& to)
{
    return daysFromCivil(to) - daysFromCivil(from);
}

} // namespace kestrevane::startup
