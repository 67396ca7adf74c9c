// Any bytes as the log, under several locales, code pages and clocks: the start-up always
// comes to a defined decision (keep and count on, or wipe and count 1) for the day of its
// one clock reading, and appends one whole record of that day, which the next start reads
// as the day's last count.
//
// Input: one byte of scenario, then the log. Bits 0-2 pick locale and code page, bits 3-4
// the clock, bits 5-7 the file: 0-3 present, 4 absent, 5-7 present with its read, delete
// or append failing.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fake_services.h"
#include "fuzz_check.h"
#include "fuzz_doubles.h"
#include "log_model.h"
#include "startup/start_up.h"
#include "startup/startup_log.h"

namespace kestrevane::fuzz {
namespace {

using namespace startup;

const std::string directory = "C:\\Kv";
const std::string path = logPath(directory);
// Small, so that inputs of a few hundred bytes already cross both edges.
constexpr LogLimits limits{200, 80};

enum class FileMode { present, absent, readFails, removeFails, appendFails };

FileMode fileMode(unsigned bits)
{
    switch (bits) {
    case 4: return FileMode::absent;
    case 5: return FileMode::readFails;
    case 6: return FileMode::removeFails;
    case 7: return FileMode::appendFails;
    default: return FileMode::present;
    }
}

std::vector<LocalDateTime> readings(unsigned bits)
{
    switch (bits) {
    case 0: return {{{2026, 12, 6}, 7, 41, 9}};
    case 1: return {{{2026, 12, 31}, 23, 59, 59}, {{2027, 1, 1}, 0, 0, 0}}; // midnight at year end
    case 2: return {{{2028, 2, 29}, 12, 0, 0}};
    default: return {{{2028, 2, 28}, 23, 59, 59}, {{2028, 2, 29}, 0, 0, 0}};
    }
}

// One machine: its clock, the user's settings, the code page and the disk.
struct World {
    World(unsigned localeBits, const std::vector<LocalDateTime>& clockReadings)
        : clock(clockReadings.front()), locale(pickLocale(localeBits))
    {
        clock.readings.assign(clockReadings.begin(), clockReadings.end());
        codec = localeBits == 4 || localeBits == 7 ? static_cast<TextCodec*>(&latin1) : &identity;
    }

    DateLocale& pickLocale(unsigned bits)
    {
        us.germanOrder = bits == 1 || bits == 3;
        us.canParse = bits != 2;
        us.separator = bits == 3 ? "." : bits == 7 ? "," : ":";
        if (bits == 4 || bits == 6) return cjk;
        if (bits == 5) return iso;
        return us;
    }

    StartupResult start()
    {
        StartUpServices services{clock, locale, locked, *codec, directory, &lock, limits};
        struct Released {
            CheckedLock& lock;
            ~Released() { require(!lock.held && lock.acquires == 1, "one start takes the lock once and frees it"); }
        } released{lock};
        return updateStartupLog(services);
    }

    std::string stored(const std::string& utf8) { return codec->encode(utf8); }

    bool isToday(std::string_view date, const std::vector<CivilDate>& days)
    {
        for (const CivilDate& day : days)
            if (date == stored(locale.shortDate(day))) return true;
        const std::optional<CivilDate> parsed = locale.parseDate(codec->decode(std::string(date)));
        for (const CivilDate& day : days)
            if (parsed == day) return true;
        return false;
    }

    testing::FakeClock clock;
    testing::FakeLocale us;
    YearFirstLocale iso{"-", "-", "", true};
    YearFirstLocale cjk{"\xE5\xB9\xB4", "\xE6\x9C\x88", "\xE6\x97\xA5", false}; // 年 月 日
    SystemParser locale;
    testing::IdentityCodec identity;
    Latin1Codec latin1;
    TextCodec* codec = nullptr;
    testing::MemoryFileSystem files;
    CheckedLock lock;
    LockedFiles locked{files, lock};
};

struct Decision {
    bool keepsLog = false; // false: the log starts afresh (wiped, or there was none)
    std::uint64_t count = 1;
};

// The rules, on the lines in sight: no record, or a last record not of today, starts
// afresh; otherwise the last count goes on, or, when it is no number, the number of
// today's records does.
Decision decide(World& world, const std::optional<std::string>& log, const std::vector<CivilDate>& days)
{
    if (!log) return {};
    const std::vector<std::string_view> lines = wholeLines(inSight(*log, limits.readWindow));
    if (lines.empty() || !world.isToday(parseRecordLine(lines.back()).date, days)) return {};
    if (const std::optional<std::uint64_t> count = storedCount(parseRecordLine(lines.back()).count))
        return {true, *count + 1};
    Decision d{true, 1};
    for (const std::string_view line : lines)
        if (world.isToday(parseRecordLine(line).date, days)) ++d.count;
    return d;
}

std::string clockText(const LocalDateTime& t, const std::string& separator)
{
    char text[64];
    std::snprintf(text, sizeof text, "%02d%s%02d%s%02d", t.hour, separator.c_str(), t.minute,
                  separator.c_str(), t.second);
    return text;
}

std::optional<std::string> logOf(World& world)
{
    const auto it = world.files.files.find(path);
    if (it == world.files.files.end()) return std::nullopt;
    return it->second;
}

// Checks one successful start; gives the reading it wrote and its whole log afterwards.
std::string checkStart(World& world, const StartupResult& r, const std::optional<std::string>& before,
                       const Decision& expected, const std::vector<LocalDateTime>& clockReadings,
                       LocalDateTime& written)
{
    require(r.countText == std::to_string(expected.count), "the count follows the rules");
    bool fromClock = false;
    for (const LocalDateTime& reading : clockReadings) {
        if (reading.date == r.date) {
            written = reading;
            fromClock = true;
        }
    }
    require(fromClock, "the record's date is a clock reading's");
    require(r.dateText == world.locale.shortDate(r.date), "the date is the user's short date");
    require(r.timeText == clockText(written, world.locale.timeSeparator()), "the time is hh:mm:ss");

    const StartupRecord record{world.stored(r.dateText), world.stored(r.timeText), r.countText};
    const std::string line = formatRecordLine(record);
    require(line.find('\n') == line.size() - 1 && line[line.size() - 2] == '\r',
            "the record is one line ending in CR LF");

    std::string expectedLog;
    if (expected.keepsLog) {
        expectedLog = *before;
        if (LogLines::endsTorn(expectedLog)) expectedLog += "\r\n";
    }
    expectedLog += line;
    const std::optional<std::string> after = logOf(world);
    require(world.files.appends == 1, "one append per start");
    require(after == expectedLog, "the log is the old one and one line, or only that line");
    require(lastRecord(*after) == record, "the new record is the log's last");
    const bool wholeRead = !expected.keepsLog || before->size() <= limits.readWindow;
    const std::size_t from = shownFrom(*after, wholeRead, limits.shownBytes);
    require(r.shown.bytes == after->substr(from), "the window is given the log's last lines as written");
    require(r.shown.earlierOmitted == (from > 0 || !wholeRead), "a note stands above a log shown in part");
    return *after;
}

} // namespace
} // namespace kestrevane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kestrevane::fuzz;
    using namespace kestrevane::startup;
    if (size == 0) return 0;
    const unsigned localeBits = data[0] & 7u;
    const std::vector<LocalDateTime> clockReadings = readings((data[0] >> 3) & 3u);
    const FileMode mode = fileMode(data[0] >> 5);
    std::optional<std::string> log;
    if (mode != FileMode::absent) log.emplace(reinterpret_cast<const char*>(data) + 1, size - 1);

    // A start reads the clock once: later readings, across midnight, must not count.
    const std::vector<CivilDate> days{clockReadings.front().date};

    World world(localeBits, clockReadings);
    if (log) world.files.files[path] = *log;
    world.files.failRead = mode == FileMode::readFails;
    world.files.failRemove = mode == FileMode::removeFails;
    world.files.failAppend = mode == FileMode::appendFails;
    const Decision expected = decide(world, log, days);

    std::optional<StartupResult> result;
    try {
        result = world.start();
    } catch (const FileError&) {
        // A failed file operation stops the start; only a wipe that was due may have happened.
        const bool wipeDue = log && !expected.keepsLog;
        require(mode == FileMode::readFails || mode == FileMode::appendFails ||
                    (mode == FileMode::removeFails && wipeDue),
                "only a failing file operation stops the start");
        const std::optional<std::string> after = logOf(world);
        require(after == log || (mode == FileMode::appendFails && wipeDue && !after),
                "a failed start leaves the log as it was");
        return 0;
    }
    require(mode == FileMode::present || mode == FileMode::absent ||
                (mode == FileMode::removeFails && !(log && !expected.keepsLog)),
            "a failing file operation is reported");

    require(world.clock.calls == 1, "one reading of the clock per start");
    LocalDateTime written;
    const std::string after = checkStart(world, *result, log, expected, {clockReadings.front()}, written);

    // The next start, a moment later on the same day, counts on from this one. A count of
    // 19 digits is past what the reader takes as a number.
    if (expected.count >= 1'000'000'000'000'000'000u) return 0;
    World next(localeBits, {written});
    next.files.files[path] = after;
    const StartupResult second = next.start();
    checkStart(next, second, after, {true, expected.count + 1}, {written}, written);
    return 0;
}
