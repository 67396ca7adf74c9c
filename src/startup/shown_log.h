// What the main window shows of the log: its last bytes, starting at a line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "startup/file_system.h"

namespace kestrevane::startup {

// The first line of the text box when earlier records are left out. It is cleaned like
// the log, so it holds no quotation mark and no comma.
inline constexpr std::string_view earlierRecordsNote =
    "Earlier records are not shown here. The whole log is kestrevane.kvn beside the program.";

struct ShownLog {
    std::string bytes;          // as stored, from the start of a line to the log's end
    bool earlierOmitted = false; // the log holds more in front of `bytes`
};

// The lines of a read window that may be used: the whole window when it holds the whole
// file, else what follows its first line end, as the window's start may cut a line.
std::string_view seenLines(const FileTail& tail);

// The last at most `maxBytes` of the log as it stands after this start, cut at the start
// of a line: `logEnd` is the end of the log as read, `appended` what this start wrote.
ShownLog shownLog(const FileTail& logEnd, std::string_view appended, std::size_t maxBytes);

// The text box's text: the note on a line of its own when records are left out, then the
// shown bytes decoded.
template <typename Decode>
std::string shownLogText(const ShownLog& shown, Decode&& decode)
{
    if (!shown.earlierOmitted) return decode(shown.bytes);
    std::string text(earlierRecordsNote);
    text += "\r\n";
    text += decode(shown.bytes);
    return text;
}

} // namespace kestrevane::startup
