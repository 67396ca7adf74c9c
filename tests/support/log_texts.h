// The log texts the start-up tests share: a log in C:\Kv, records of 6 December 2026.
#pragma once

#include <string>

namespace kestrevane::testing {

inline const std::string logDirectory = "C:\\Kv";
inline const std::string logFile = "C:\\Kv\\kestrevane.kvn";
inline const std::string today = "12/6/2026";
// What a start at 07:41:09 that day writes, up to its count field.
inline const std::string newRec = "\"12/6/2026\",\"07:41:09\",";

// A record line as the program writes it.
inline std::string rec(const std::string& date, const std::string& count, const std::string& time = "06:00:00")
{
    return "\"" + date + "\",\"" + time + "\",\"" + count + "\"\r\n";
}

} // namespace kestrevane::testing
