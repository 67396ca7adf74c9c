#include "startup/shown_log.h"

namespace kestrevane::startup {

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
