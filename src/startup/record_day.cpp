#include "startup/record_day.h"

namespace kestrevane::startup {

RecordDay::RecordDay(DateLocale& locale, TextCodec& codec, const CivilDate& today)
    : locale_(locale), codec_(codec), today_(today),
      // Compared in stored form, so a date the code page cannot spell exactly still matches.
      todayText_(codec.encode(locale.shortDate(today)))
{
}

bool RecordDay::isToday(std::string_view storedDate)
{
    // Some locales' short dates cannot be parsed back by the system, so the text itself
    // is tried first.
    if (storedDate == todayText_) return true;
    if (cacheValid_ && storedDate == cachedText_) return cachedResult_;

    bool today = false;
    if (const std::optional<CivilDate> date = locale_.parseDate(codec_.decode(std::string(storedDate))))
        today = *date == today_;
    cachedText_ = storedDate;
    cachedResult_ = today;
    cacheValid_ = true;
    return today;
}

} // namespace kestrevane::startup
