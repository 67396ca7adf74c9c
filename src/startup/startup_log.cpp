#include "startup/startup_log.h"

namespace kestrevane::startup {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Takes the next field off the front of `rest`, consuming the comma after it.
std::string_view takeField(std::string_view& rest)
{
    std::size_t start = 0;
    while (start < rest.size() && isBlank(rest[start])) ++start;

    std::string_view field;
    std::size_t next;
    if (start < rest.size() && rest[start] == '"') {
        const std::size_t close = rest.find('"', start + 1);
        const std::size_t end = close == std::string_view::npos ? rest.size() : close;
        field = rest.substr(start + 1, end - start - 1);
        // Whatever stands between the closing mark and the comma is not part of the value.
        next = close == std::string_view::npos ? close : rest.find(',', close + 1);
    } else {
        next = rest.find(',', start);
        field = trimBlanks(rest.substr(start, next == std::string_view::npos ? rest.size() - start
                                                                             : next - start));
    }
    rest = next == std::string_view::npos ? std::string_view{} : rest.substr(next + 1);
    return field;
}

void appendTwoDigits(std::string& out, int value)
{
    out += static_cast<char>('0' + value / 10 % 10);
    out += static_cast<char>('0' + value % 10);
}

// A line as next() gives it: without its CR, and only when it holds more than blanks.
bool wholeLine(std::string_view& line)
{
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line.find_first_not_of(" \t\r") != std::string_view::npos;
}

} // namespace

std::string logPath(const std::string& directory)
{
    std::string path = directory;
    path += '\\';
    path += logFileName;
    return path;
}

std::string formatRecordLine(const StartupRecord& record)
{
    std::string line;
    line.reserve(record.date.size() + record.time.size() + record.count.size() + 10);
    line += '"';
    line += record.date;
    line += "\",\"";
    line += record.time;
    line += "\",\"";
    line += record.count;
    line += "\"\r\n";
    return line;
}

StartupRecord parseRecordLine(std::string_view line)
{
    StartupRecord record;
    record.date = takeField(line);
    record.time = takeField(line);
    record.count = takeField(line);
    return record;
}

std::string timeText(const LocalDateTime& time, const std::string& separator)
{
    std::string text;
    appendTwoDigits(text, time.hour);
    text += separator;
    appendTwoDigits(text, time.minute);
    text += separator;
    appendTwoDigits(text, time.second);
    return text;
}

std::optional<std::uint64_t> parseCount(std::string_view text)
{
    text = trimBlanks(text);
    // 18 digits always fit, and no day has that many starts.
    if (text.empty() || text.size() > 18) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

bool LogLines::next(std::string_view& line)
{
    for (;;) {
        const std::size_t end = rest_.find('\n');
        if (end == std::string_view::npos) {
            rest_ = {};
            return false;
        }
        line = rest_.substr(0, end);
        rest_.remove_prefix(end + 1);
        if (wholeLine(line)) return true;
    }
}

bool LogLines::last(std::string_view bytes, std::string_view& line)
{
    // Everything after the last LF is a torn line; each step takes the line before it.
    std::size_t end = bytes.rfind('\n');
    while (end != std::string_view::npos) {
        const std::size_t start = end == 0 ? 0 : bytes.rfind('\n', end - 1) + 1; // npos + 1 is 0
        line = bytes.substr(start, end - start);
        if (wholeLine(line)) return true;
        if (start == 0) break;
        end = start - 1;
    }
    return false;
}

std::optional<StartupRecord> lastRecord(std::string_view logBytes)
{
    // Only the last whole line is read, however long the log.
    std::string_view last;
    if (!LogLines::last(logBytes, last)) return std::nullopt;
    return parseRecordLine(last);
}

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

std::string_view seenLines(const FileTail& tail)
{
    const std::string_view bytes = tail.bytes;
    if (tail.wholeFile()) return bytes;
    const std::size_t firstEnd = bytes.find('\n');
    return firstEnd == std::string_view::npos ? std::string_view{} : bytes.substr(firstEnd + 1);
}

ShownLog shownLog(const FileTail& logEnd, std::string_view appended, std::size_t maxBytes)
{
    // The log's end and the appended line, seen as one text without joining them.
    const std::string_view before = logEnd.bytes;
    const std::size_t total = before.size() + appended.size();
    const auto at = [&](std::size_t i) { return i < before.size() ? before[i] : appended[i - before.size()]; };

    std::size_t start = total > maxBytes ? total - maxBytes : 0;
    // The first byte read may be inside a line unless the read began at the file's start.
    const bool atLineStart = start == 0 ? logEnd.wholeFile() : at(start - 1) == '\n';
    if (!atLineStart) {
        while (start < total && at(start) != '\n') ++start;
        if (start < total) ++start;
    }

    ShownLog shown;
    shown.earlierOmitted = start > 0 || !logEnd.wholeFile();
    if (start < before.size()) shown.bytes.assign(before.substr(start));
    shown.bytes.append(appended.substr(start > before.size() ? start - before.size() : 0));
    return shown;
}

} // namespace kestrevane::startup
