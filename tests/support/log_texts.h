// The log texts the start-up tests share: a log in C:\Kv, records of 6 December 2026.
#pragma once

#include <string>

#include "startup/date_time.h"

namespace kestrevane::testing {

inline const std::string logDirectory = "C:\\Kv";
inline const std::string logFile = "C:\\Kv\\kestrevane.kvn";
inline const std::string today = "12/6/2026";
// The start the tests make, at 07:41:09 that day, and what it writes up to its count field.
inline constexpr startup::LocalDateTime startTime{{2026, 12, 6}, 7, 41, 9};
inline const std::string newRec = "\"12/6/2026\",\"07:41:09\",";

// A record line as the program writes it.
inline std::string rec(const std::string& date, const std::string& count, const std::string& time = "06:00:00")
{
    return "\"" + date + "\",\"" + time + "\",\"" + count + "\"\r\n";
}

} // namespace kestrevane::testing
