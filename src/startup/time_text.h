// The record's time of day: "hh:mm:ss" on a 24-hour clock with the user's separator.
#pragma once

#include <string>

#include "startup/civil_date.h"

namespace kestrevane::startup {

std::string timeText(const LocalDateTime& time, const std::string& separator);

} // namespace kestrevane::startup
