// Any bytes as the log: the reader finds exactly the whole lines, the last of them is the
// last record, and a record of plain fields survives being written and read back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "log_model.h"
#include "startup/startup_log.h"

namespace kestrevane::fuzz {
namespace {

using namespace startup;

bool writable(const StartupRecord& r)
{
    for (const std::string* field : {&r.date, &r.time, &r.count})
        if (field->find_first_of("\"\n") != std::string::npos) return false;
    return true;
}

void checkCount(std::string_view text)
{
    const std::optional<std::uint64_t> count = parseCount(text);
    require(count == storedCount(text), "parseCount reads exactly 1 to 18 digits within blanks");
    if (count && *count < 999'999'999'999'999'999u)
        require(parseCount(std::to_string(*count + 1)) == *count + 1, "the next count reads back");
}

void checkRoundTrip(const StartupRecord& r, std::string_view log)
{
    if (!writable(r)) return;
    const std::string line = formatRecordLine(r);
    require(line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0, "a record line ends in CR LF");
    require(line.find('\n') == line.size() - 1, "a record is one line");
    require(parseRecordLine(std::string_view(line).substr(0, line.size() - 2)) == r, "a written record reads back");
    // What the start-up relies on: the line it appends to a whole log is the last record.
    if (!LogLines::endsTorn(log)) {
        const std::string grown = std::string(log) + line;
        require(lastRecord(grown) == r, "an appended record is the last record");
    }
}

} // namespace
} // namespace kestrevane::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace kestrevane::fuzz;
    using namespace kestrevane::startup;
    const std::string_view log(reinterpret_cast<const char*>(data), size);

    const std::vector<std::string_view> expected = wholeLines(log);
    std::vector<std::string_view> found;
    LogLines lines(log);
    for (std::string_view line; lines.next(line);) {
        require(line.data() >= log.data() && line.data() + line.size() <= log.data() + log.size(),
                "a line is a piece of the log");
        found.push_back(line);
    }
    require(found == expected, "the reader finds exactly the whole lines");
    std::string_view fromEnd;
    const bool hasLast = LogLines::last(log, fromEnd);
    require(hasLast == !expected.empty(), "a log has a last line when it has a whole line");
    require(!hasLast || (fromEnd == expected.back() && fromEnd.data() == expected.back().data()),
            "the line found from the end is the last whole line");
    require(LogLines::endsTorn(log) == (!log.empty() && log.back() != '\n'), "a torn end is one without LF");

    const std::optional<StartupRecord> last = lastRecord(log);
    require(last.has_value() == !expected.empty(), "a log has a last record when it has a whole line");
    if (last) require(*last == parseRecordLine(expected.back()), "the last record is the last whole line");

    std::size_t visited = 0;
    forEachRecordDate(log, [&](std::string_view date) {
        require(visited < expected.size() && date == parseRecordLine(expected[visited]).date,
                "every record's date is visited in file order");
        ++visited;
    });
    require(visited == expected.size(), "every record is visited");

    for (const std::string_view line : expected) checkCount(parseRecordLine(line).count);
    if (last) checkRoundTrip(*last, log);
    // The whole input as one line, line ends and all.
    const StartupRecord whole = parseRecordLine(log);
    checkCount(whole.count);
    checkRoundTrip(whole, {});
    return 0;
}
