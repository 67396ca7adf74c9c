#include "startup/startup_log.h"


namespace kestrevane::startup {

std::string logPath(const std::string& directory)
{
    std::string path = directory;
    path += '\\';
    path += logFileName;
    return path;
}

std::optional<StartupRecord> lastRecord(std::string_view logBytes)
{
    // Only the last whole line is read, however long the log.
    std::string_view last;
    if (!LogLines::last(logBytes, last)) return std::nullopt;
    return parseRecordLine(last);
}

std::optional<std::uint64_t> parseCount(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    // 18 digits always fit, and no day has that many starts.
    if (text.empty() || text.size() > 18) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

} // namespace kestrevane::startup
