#include "startup/start_up.h"

#include <cstdint>
#include <optional>
#include <utility>

#include "startup/startup_log.h"

namespace kestrevane::startup {

namespace {

struct LogState {
    std::uint64_t lastCount = 0; // 0 when the day starts afresh
    bool afterTornLine = false;  // the log ends in a line cut short
    FileTail kept;               // the end of what stays of the log in front of the new record
};

class HeldLock {
public:
    HeldLock(LogLock* lock, const std::string& path) : lock_(lock)
    {
        if (lock_) lock_->acquire(path);
    }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;
    ~HeldLock()
    {
        if (lock_) lock_->release();
    }

private:
    LogLock* lock_;
};

// Wipes the log when the last record of its end is not of `today`.
LogState bringLogToToday(StartUpServices& s, const std::string& path, FileTail tail, const CivilDate& today)
{
    RecordDay day(s.locale, s.codec, today);

    const std::string_view seen = seenLines(tail);
    const std::optional<StartupRecord> last = lastRecord(seen);
    // An empty log, or a last record of no readable date, starts the day afresh rather
    // than stopping every start until somebody deletes the file.
    if (!last || !day.isToday(last->date)) {
        s.files.remove(path);
        return {};
    }

    LogState state;
    state.afterTornLine = LogLines::endsTorn(seen);
    if (const std::optional<std::uint64_t> count = parseCount(last->count)) {
        state.lastCount = *count;
    } else {
        // The count was damaged; the day's records in sight still say how many starts there were.
        forEachRecordDate(seen, [&](std::string_view date) {
            if (day.isToday(date)) ++state.lastCount;
        });
    }
    state.kept = std::move(tail);
    return state;
}

} // namespace

bool fileExists(FileSystem& files, const std::string& path)
{
    return files.canOpenForReading(path);
}

StartupResult updateStartupLog(StartUpServices& s)
{
    const std::string path = logPath(s.directory);
    const HeldLock held(s.lock, path);
    std::optional<FileTail> tail;
    if (fileExists(s.files, path)) tail = s.files.readTail(path, s.limits.readWindow);
    // One reading of the clock per start: the day decided on is the day the record
    // carries, so a start around midnight counts wholly on one day.
    const LocalDateTime now = s.clock.now();
    LogState state = tail ? bringLogToToday(s, path, std::move(*tail), now.date) : LogState{};

    StartupResult result;
    result.date = now.date;
    result.dateText = s.locale.shortDate(now.date);
    result.timeText = timeText(now, s.locale.timeSeparator());
    result.countText = std::to_string(state.lastCount + 1);

    // One write of one whole line, on a line of its own even after a torn append.
    std::string line = state.afterTornLine ? "\r\n" : "";
    line += formatRecordLine({s.codec.encode(result.dateText), s.codec.encode(result.timeText),
                              result.countText});
    s.files.append(path, line);
    // The record is in the file whole; a flush that fails now does not take it back (the
    // system writes it out later, as it does any file's data), so the start counts.
    try {
        s.files.flush(path);
    } catch (const FileError&) {
    }
    result.shown = shownLog(state.kept, line, s.limits.shownBytes);
    return result;
}

void Main(StartUpServices& s, StartupWindow& frmmain)
{
    const StartupResult result = updateStartupLog(s);

    frmmain.load();
    frmmain.setDateCaption(result.dateText + " ");
    frmmain.setNumberCaption(result.countText + " ");
    frmmain.setLogText(shownLogText(result.shown, [&](const std::string& bytes) { return s.codec.decode(bytes); }));
    frmmain.setCaption("Kestrevane " + s.locale.longDate(result.date));
    frmmain.show();
}

} // namespace kestrevane::startup
