// Dates and times of day: what the system clock reads, and how the user's settings write them.
#pragma once

#include <optional>
#include <string>

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

class Clock {
public:
    virtual ~Clock() = default;
    // The local date and time now.
    virtual LocalDateTime now() = 0;
};

// The user's regional settings. All texts are UTF-8.
class DateLocale {
public:
    virtual ~DateLocale() = default;
    // The user's short date form, such as "12/6/2026" or "06.12.2026".
    virtual std::string shortDate(const CivilDate& date) = 0;
    // The user's long date form, such as "Sunday, December 6, 2026".
    virtual std::string longDate(const CivilDate& date) = 0;
    // The separator between hours, minutes and seconds, usually ":".
    virtual std::string timeSeparator() = 0;
    // Reads a date text under the user's settings; nothing when it is not a date.
    virtual std::optional<CivilDate> parseDate(const std::string& text) = 0;
};

} // namespace kestrevane::startup
