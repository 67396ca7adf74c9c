#include "startup/startup_record.h"

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

} // namespace

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

} // namespace kestrevane::startup
