// The log format's reading rules, written out plainly to check the reader against.
#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace kestrevane::fuzz {

// Whole lines: each ends in LF, one CR before it is not part of the line, lines of
// blanks only (space, tab, CR) are skipped, and bytes after the last LF are a torn write.
inline std::vector<std::string_view> wholeLines(std::string_view bytes)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\n') continue;
        std::size_t end = i;
        if (end > start && bytes[end - 1] == '\r') --end;
        const std::string_view line = bytes.substr(start, end - start);
        bool blank = true;
        for (const char c : line) blank = blank && (c == ' ' || c == '\t' || c == '\r');
        if (!blank) lines.push_back(line);
        start = i + 1;
    }
    return lines;
}

// The part of a log a start may read: the whole log when it fits the window, else the
// lines that begin after the first line end within its last `window` bytes.
inline std::string_view inSight(std::string_view log, std::size_t window)
{
    if (log.size() <= window) return log;
    const std::string_view tail = log.substr(log.size() - window);
    const std::size_t firstEnd = tail.find('\n');
    return firstEnd == std::string_view::npos ? std::string_view{} : tail.substr(firstEnd + 1);
}

// Where the text box's text begins in the log after a start: the first line that starts
// within its last `cap` bytes. `wholeRead`: the start read the log from its first byte,
// so position 0 is known to start a line.
inline std::size_t shownFrom(std::string_view log, bool wholeRead, std::size_t cap)
{
    std::size_t at = log.size() > cap ? log.size() - cap : 0;
    if (at == 0 && wholeRead) return 0;
    while (at < log.size() && (at == 0 || log[at - 1] != '\n')) ++at;
    return at;
}

// A stored count: 1 to 18 decimal digits, spaces and tabs around them allowed.
inline std::optional<std::uint64_t> storedCount(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    if (text.size() > 18 || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    std::uint64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

} // namespace kestrevane::fuzz
