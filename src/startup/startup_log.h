// The startup log beside the executable: its records, how a start reads and keeps it, and
// what the main window shows of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "startup/date_time.h"
#include "startup/file_system.h"

namespace kestrevane::startup {

inline constexpr std::string_view logFileName = "kestrevane.kvn";

// The directory, a backslash and the log's name.
std::string logPath(const std::string& directory);

// How text is stored in the log: the system's 8-bit code page, not UTF-8.
class TextCodec {
public:
    virtual ~TextCodec() = default;
    // UTF-8 to the stored bytes; characters the code page lacks become its default character.
    virtual std::string encode(const std::string& utf8) = 0;
    // Stored bytes to UTF-8; bytes the code page does not define become U+FFFD.
    virtual std::string decode(const std::string& bytes) = 0;
};

// Keeps other starts of the program away from the log while one brings it up to date.
// Several starts at the same moment (two autostart entries, a double click) must each
// add exactly one record with their own count, so reading, deciding and appending
// happen under this lock. Best effort: a lock that cannot be had must not stop a start.
class LogLock {
public:
    virtual ~LogLock() = default;
    // Waits until no other start holds the lock for this log. Never throws.
    virtual void acquire(const std::string& logPath) = 0;
    virtual void release() = 0;
};

// How much of the log a start reads and shows, whatever the file's size.
struct LogLimits {
    // The decision reads only the log's end: the last record, and enough records before
    // it to recount a day whose last count was damaged.
    std::size_t readWindow = std::size_t{1} << 20;
    // The text box shows at most the log's last bytes, far more than any real day holds;
    // laying out more would make the window slow to appear.
    std::size_t shownBytes = std::size_t{64} << 10;
};

// One line of the log: date, time and count, as stored (code-page bytes).
struct StartupRecord {
    std::string date;
    std::string time;
    std::string count;

    friend bool operator==(const StartupRecord&, const StartupRecord&) = default;
};

// The stored line: "date","time","count" followed by CR LF. Nothing is escaped: the
// fields never hold a quotation mark.
std::string formatRecordLine(const StartupRecord& record);

// Reads one line (without its line end) as a record. Fields are separated by commas; a
// field that starts with a quotation mark runs to the next one. Blanks around fields are
// dropped, missing fields are empty and fields after the third are ignored.
StartupRecord parseRecordLine(std::string_view line);

// The record's time of day: "hh:mm:ss" on a 24-hour clock with the user's separator.
std::string timeText(const LocalDateTime& time, const std::string& separator);

// A count as the log stores it: decimal digits, blanks around them allowed.
std::optional<std::uint64_t> parseCount(std::string_view text);

// Walks the whole lines of the log; an unterminated last line is a torn write.
class LogLines {
public:
    explicit LogLines(std::string_view bytes) : rest_(bytes) {}

    // The next whole line without its CR LF (or lone LF), skipping lines that hold only
    // blanks. False at the end, and before an unterminated last line.
    bool next(std::string_view& line);

    // The last line next() would give, found from the end without walking the rest.
    static bool last(std::string_view bytes, std::string_view& line);

    // True when the bytes do not end in a line end, i.e. the last append was cut short.
    static bool endsTorn(std::string_view bytes) { return !bytes.empty() && bytes.back() != '\n'; }

private:
    std::string_view rest_;
};

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

// Decides whether a stored record date names today, the day of the clock's reading.
class RecordDay {
public:
    RecordDay(DateLocale& locale, TextCodec& codec, const CivilDate& today);

    // True for today's date in the user's short date form. Other texts are read as a date
    // under the user's settings; one that is no date, or another day, is not today.
    bool isToday(std::string_view storedDate);

private:
    DateLocale& locale_;
    TextCodec& codec_;
    CivilDate today_;
    std::string todayText_;
    // Logs repeat one date on every line; parse each distinct text once.
    std::string cachedText_;
    bool cachedResult_ = false;
    bool cacheValid_ = false;
};

// The first line of the text box when earlier records are left out. It is cleaned like
// the log, so it holds no quotation mark and no comma.
inline constexpr std::string_view earlierRecordsNote =
    "Earlier records are not shown here. The whole log is kestrevane.kvn beside the program.";

// What the main window shows of the log: its last bytes, starting at a line.
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
