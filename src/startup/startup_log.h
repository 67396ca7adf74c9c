// The startup log beside the executable: its path, its last record, the records of a day.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "startup/log_lines.h"
#include "startup/startup_record.h"

namespace kestrevane::startup {

inline constexpr std::string_view logFileName = "kestrevane.kvn";

// The directory, a backslash and the log's name.
std::string logPath(const std::string& directory);

// The last whole record of the log; nothing when it holds no whole line.
std::optional<StartupRecord> lastRecord(std::string_view logBytes);

// Calls `visit` with the date field of every whole record, in file order.
template <typename Visit>
void forEachRecordDate(std::string_view logBytes, Visit&& visit)
{
    LogLines lines(logBytes);
    std::string_view line;
    while (lines.next(line)) visit(parseRecordLine(line).date);
}

// A count as the log stores it: decimal digits, blanks around them allowed.
std::optional<std::uint64_t> parseCount(std::string_view text);

} // namespace kestrevane::startup

