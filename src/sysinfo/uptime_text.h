// The time since the system started, as "Hours since reboot: HH:MM:SS".
#pragma once

#include <cstdint>
#include <string>

#include "sysinfo/system_query.h"

namespace kestrevane::sysinfo {

// Rounds `milliseconds` to whole seconds (an exact half to the even neighbour) and writes
// hours, minutes and seconds with at least two digits each; hours never roll into days.
std::string uptimeTextFromMilliseconds(std::uint64_t milliseconds);

std::string uptimeText(SystemQuery& system);

} // namespace kestrevane::sysinfo
