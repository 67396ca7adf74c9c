// The user's date and time settings through the system's own formatter and parser.
#pragma once

#include <windows.h>

#include "startup/date_time.h"

namespace kestrevane::win32 {

class Win32DateLocale final : public startup::DateLocale {
public:
    // Tests pass other locales; the program uses the user's.
    explicit Win32DateLocale(LCID locale = LOCALE_USER_DEFAULT) : locale_(locale) {}

    std::string shortDate(const startup::CivilDate& date) override;
    std::string longDate(const startup::CivilDate& date) override;
    std::string timeSeparator() override;
    std::optional<startup::CivilDate> parseDate(const std::string& text) override;

private:
    std::string format(const startup::CivilDate& date, DWORD flags);
    LCID locale_;
};

} // namespace kestrevane::win32
