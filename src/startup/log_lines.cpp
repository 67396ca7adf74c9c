#include "startup/log_lines.h"

namespace kestrevane::startup {

namespace {

// A line as next() gives it: without its CR, and only when it holds more than blanks.
bool wholeLine(std::string_view& line)
{
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line.find_first_not_of(" \t\r") != std::string_view::npos;
}

} // namespace

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

} // namespace kestrevane::startup
