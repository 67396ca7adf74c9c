// Starts with logs around the edges of the read window and of what the window shows:
// the decision and the text box see only the log's end, whatever its size.
#include "startup/start_up.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "case_name.h"
#include "fake_start_up.h"
#include "fake_startup_window.h"
#include "log_texts.h"
#include "ui/frm_main.h"

namespace kestrevane::startup {
namespace {

using testing::newRec;
using testing::rec;
using testing::today;
const std::string& path = testing::logFile;

constexpr std::size_t window = LogLimits{}.readWindow;
constexpr std::size_t cap = LogLimits{}.shownBytes;

// Every filler record has the same length, so sizes can be hit to the byte.
const std::string filler = rec(today, "7");
const std::string newLine = newRec + "\"8\"\r\n"; // what a start after a filler writes

// A first line of `length` bytes that is no record, then fillers; `size` bytes in all.
std::string logOfSize(std::size_t size, const std::string& record = filler)
{
    const std::size_t records = (size - 2) / record.size();
    std::string log(size - records * record.size() - 2, 'p');
    log += "\r\n";
    log.reserve(size);
    for (std::size_t i = 0; i < records; ++i) log += record;
    return log;
}

// The fillers of `log` whose line starts after the window's first byte: the ones in sight.
std::size_t fillersInSight(const std::string& log)
{
    const std::size_t windowStart = log.size() > window ? log.size() - window : 0;
    std::size_t seen = 0;
    for (std::size_t at = log.find(filler); at != std::string::npos; at = log.find(filler, at + 1))
        if (at > windowStart || (at == 0 && windowStart == 0)) ++seen;
    return seen;
}

std::string longRecord(std::size_t timeLength, const std::string& count)
{
    return "\"" + today + "\",\"" + std::string(timeLength, '9') + "\",\"" + count + "\"\r\n";
}

struct BoundedCase {
    std::string name;
    std::function<std::string()> seed;
    // The count written; empty: the log is expected to start afresh with "1".
    std::function<std::string(const std::string& seed)> count;
    // Where in the log after the start the text box's text begins (0: all of it is shown).
    std::function<std::size_t(const std::string& after)> shownFrom;
};

std::size_t whole(const std::string&) { return 0; }
// The first line that starts within the cap's last bytes.
std::size_t nextLineAfterCut(const std::string& after)
{
    std::size_t at = after.size() - cap;
    while (after[at - 1] != '\n') ++at;
    return at;
}
std::string eight(const std::string&) { return "8"; }

const BoundedCase cases[] = {
    // The read window: the decision sees the same whether or not the whole file fits.
    {"LogOneByteUnderTheWindow", [] { return logOfSize(window - 1); }, eight, nextLineAfterCut},
    {"LogAtTheWindow", [] { return logOfSize(window); }, eight, nextLineAfterCut},
    {"LogOneByteOverTheWindow", [] { return logOfSize(window + 1); }, eight, nextLineAfterCut},
    {"LogOfThreeWindowsOfAnOldDay", [] { return logOfSize(3 * window, rec("12/5/2026", "7")); }, nullptr, whole},
    {"DamagedCountRecountsTheRecordsInSight",
     [] {
         // The window starts inside a record, which is not counted.
         std::string log = logOfSize(window + 3 * filler.size() + 11);
         return log.replace(log.size() - filler.size(), filler.size(), rec(today, "x"));
     },
     [](const std::string& seed) { return std::to_string(fillersInSight(seed) + 2); }, nextLineAfterCut},
    {"LineStartingRightAtTheWindowIsNotSeen",
     [] {
         // Records of 32 bytes, one more than the window holds: the window starts right at
         // the second, which cannot be told from a part and is not counted either.
         const std::string record = rec(today, "77777");
         std::string log;
         for (std::size_t i = 0; i <= window / record.size(); ++i) log += record;
         return log.replace(log.size() - record.size(), record.size(), rec(today, "xxxxx"));
     },
     [](const std::string&) { return std::to_string(window / 32); }, nextLineAfterCut},
    {"TornLastLineOfALogOverTheWindow", [] { return logOfSize(window + 100) + "\"12/6/20"; }, eight,
     nextLineAfterCut},
    {"WindowOfGarbageStartsAfresh", [] { return logOfSize(window) + std::string(window + 5, 'z'); }, nullptr, whole},
    {"RecordLongerThanTheWindowStartsAfresh",
     [] { return rec(today, "1") + longRecord(window + 1, "5"); }, nullptr, whole},
    // What the text box shows.
    {"ShownWholeOneByteUnderTheCap", [] { return logOfSize(cap - 1 - newLine.size()); }, eight, whole},
    {"ShownWholeAtTheCap", [] { return logOfSize(cap - newLine.size()); }, eight, whole},
    {"CutOneByteOverTheCap", [] { return logOfSize(cap + 1 - newLine.size()); }, eight, nextLineAfterCut},
    {"LineStartingRightAtTheCutIsShown",
     [] { return std::string(filler.size() - 2, 'p') + "\r\n" + logOfSize(cap - newLine.size()); }, eight,
     [](const std::string&) { return filler.size(); }},
    {"RecordLongerThanTheCap", [] { return rec(today, "1") + longRecord(cap + 10, "5"); },
     [](const std::string&) { return "6"; }, [](const std::string& after) { return after.size() - (newRec.size() + 5); }},
};

void PrintTo(const BoundedCase& row, std::ostream* os) { *os << row.name; }

class BoundedStart : public ::testing::TestWithParam<BoundedCase> {};

TEST_P(BoundedStart, DecidesOnTheWindowAndShowsTheLogsLastWholeLines)
{
    const BoundedCase& c = GetParam();
    testing::FakeStartUp start;
    testing::MemoryFileSystem& files = start.files;
    const std::string seed = c.seed();
    files.files[path] = seed;

    const StartupResult result = updateStartupLog(start.services);

    EXPECT_LE(files.largestRead, window) << "a start reads at most the window";
    const std::string count = c.count ? c.count(seed) : "1";
    EXPECT_EQ(result.countText, count);
    const std::string written = newRec + "\"" + count + "\"\r\n";
    const std::string lineEnd = !c.count || seed.back() == '\n' ? "" : "\r\n";
    const std::string after = c.count ? seed + lineEnd + written : written;
    ASSERT_EQ(files.files[path].size(), after.size());
    EXPECT_TRUE(files.files[path] == after) << "the log is the old one and one line, or only that line";

    const std::size_t from = c.shownFrom(after);
    EXPECT_EQ(result.shown.earlierOmitted, from > 0);
    EXPECT_LE(result.shown.bytes.size(), cap);
    EXPECT_TRUE(from == 0 || after[from - 1] == '\n') << "the text box starts at a line";
    EXPECT_TRUE(result.shown.bytes == after.substr(from)) << "shown from " << after.size() - result.shown.bytes.size()
                                                          << " instead of " << from;
}

INSTANTIATE_TEST_SUITE_P(Logs, BoundedStart, ::testing::ValuesIn(cases), testing::CaseName());

// The note above a cut log goes through the window's cleaning untouched.
TEST(BoundedStartText, NoteStandsOnTheFirstLineAboveTheLastRecords)
{
    testing::FakeStartUp start;
    testing::MemoryFileSystem& files = start.files;
    files.files[path] = logOfSize(2 * window);

    testing::RecordingStartupWindow frmmain;
    Main(start.services, frmmain);
    const std::string& shown = frmmain.logText;

    const std::string firstLine = std::string(earlierRecordsNote) + "\r\n";
    ASSERT_EQ(shown.substr(0, firstLine.size()), firstLine);
    EXPECT_LE(shown.size(), firstLine.size() + cap);
    const std::string cleaned = ui::mReplaceInString(ui::mReplaceInString(shown, "\"", " "), ",", " ");
    EXPECT_EQ(cleaned.substr(0, firstLine.size()), firstLine);
    EXPECT_EQ(shown.substr(firstLine.size()),
              files.files[path].substr(files.files[path].size() - (shown.size() - firstLine.size())));
}

} // namespace
} // namespace kestrevane::startup
