// Decides whether a stored record date names today, the day of the clock's reading.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "startup/civil_date.h"
#include "startup/clock.h"
#include "startup/text_codec.h"

namespace kestrevane::startup {

class RecordDay {
public:
    RecordDay(DateLocale& locale, TextCodec& codec, const CivilDate& today);

    // True for today's date in the user's short date form. Other texts are read as a date
    // under the user's settings; one that is no date, or another day, is not today.
    bool isToday(std::string_view storedDate);

private:
    DateLocale& locale_;
    TextCodec& codec_;
    CivilDate today_;
    std::string todayText_;
    // Logs repeat one date on every line; parse each distinct text once.
    std::string cachedText_;
    bool cachedResult_ = false;
    bool cacheValid_ = false;
};

} // namespace kestrevane::startup
