#include "startup/record_day.h"

namespace kestrevane::startup {

RecordDay::RecordDay(DateLocale& locale, TextCodec& codec, const CivilDate& first,
                     const CivilDate& second)
    : locale_(locale), codec_(codec), first_(first), second_(second),
      // Compared in stored form, so a date the code page cannot spell exactly still matches.
      firstText_(codec.encode(locale.shortDate(first))),
      secondText_(first == second ? firstText_ : codec.encode(locale.shortDate(second)))
{
}

bool RecordDay::isToday(std::string_view storedDate)
{
    // Some locales' short dates cannot be parsed back by the system, so the text itself
    // is tried first.
    if (storedDate == firstText_ || storedDate == secondText_) return true;
    if (cacheValid_ && storedDate == cachedText_) return cachedResult_;

    bool today = false;
    if (const std::optional<CivilDate> date = locale_.parseDate(codec_.decode(std::string(storedDate))))
        today = dayDifference(first_, *date) >= 0 && dayDifference(second_, *date) <= 0;
    cachedText_ = storedDate;
    cachedResult_ = today;
    cacheValid_ = true;
    return today;
}

} // namespace kestrevane::startup
