// What the start-up needs of the system clock and the user's date and time settings.
#pragma once

#include <optional>
#include <string>

#include "startup/civil_date.h"

namespace kestrevane::startup {

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
