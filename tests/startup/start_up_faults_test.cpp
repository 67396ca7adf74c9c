// Starts that meet a failing file system, a log cut short, and other starts at once.
#include "startup/start_up.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "fake_services.h"
#include "fake_startup_window.h"
#include "log_texts.h"

namespace kestrevane::startup {
namespace {

using testing::FakeClock;
using testing::FakeLocale;
using testing::IdentityCodec;
using testing::MemoryFileSystem;

using testing::newRec;
using testing::rec;
using testing::today;
const std::string& dir = testing::logDirectory;
const std::string& path = testing::logFile;

// Writes every operation into one journal with the lock's, and fails the n-th one.
class Journal : public FileSystem, public LogLock {
public:
    MemoryFileSystem memory;
    std::vector<std::string> entries;
    int failAt = 0; // 1-based; 0: nothing fails
    int calls = 0;

    bool canOpenForReading(const std::string& p) override
    {
        // Cannot throw: its failure is a file that cannot be opened.
        return !step("exists") && memory.canOpenForReading(p);
    }
    FileTail readTail(const std::string& p, std::size_t maxBytes) override
    {
        if (step("read")) throw FileError("read", p, "injected");
        return memory.readTail(p, maxBytes);
    }
    void append(const std::string& p, const std::string& bytes) override
    {
        if (step("append")) throw FileError("write", p, "injected");
        memory.append(p, bytes);
    }
    // Fails after the record is in the file whole.
    void flush(const std::string& p) override
    {
        if (step("flush")) throw FileError("flush", p, "injected");
    }
    void remove(const std::string& p) override
    {
        if (step("delete")) throw FileError("delete", p, "injected");
        memory.remove(p);
    }
    void acquire(const std::string& p) override { entries.push_back("lock " + p); }
    void release() override { entries.push_back("unlock"); }

private:
    bool step(const char* what)
    {
        entries.push_back(what);
        return ++calls == failAt;
    }
};

struct Outcome {
    bool failed = false;
    bool shown = false;
    std::optional<std::string> log; // nothing: no file
    std::string shownText;
    std::vector<std::string> journal;
};

Outcome start(const std::optional<std::string>& log, int failAt)
{
    FakeClock clock{testing::startTime};
    FakeLocale locale;
    IdentityCodec codec;
    Journal journal;
    journal.failAt = failAt;
    if (log) journal.memory.files[path] = *log;
    StartUpServices services{clock, locale, journal, codec, dir, &journal};
    testing::RecordingStartupWindow window;
    Outcome out;
    try {
        Main(services, window);
    } catch (const FileError&) {
        out.failed = true;
    }
    out.shown = window.shown;
    out.shownText = window.logText;
    if (journal.memory.files.count(path)) out.log = journal.memory.files[path];
    out.journal = journal.entries;
    return out;
}

struct FaultCase {
    const char* name;
    std::optional<std::string> log;
    std::string logAfterWipe; // what a clean start leaves
};

// Today's records, more than a start reads.
std::string longerThanTheWindow()
{
    std::string log;
    while (log.size() <= 2 * LogLimits{}.readWindow) log += rec(today, "1");
    return log + rec(today, "2");
}

const FaultCase faultCases[] = {
    {"NoLog", std::nullopt, newRec + "\"1\"\r\n"},
    {"TodaysLog", rec(today, "1") + rec(today, "2"), rec(today, "1") + rec(today, "2") + newRec + "\"3\"\r\n"},
    {"OldLog", rec("12/5/2026", "4"), newRec + "\"1\"\r\n"},
    {"TornLog", rec(today, "1") + "\"12/6/2", rec(today, "1") + "\"12/6/2\r\n" + newRec + "\"2\"\r\n"},
    {"BadCountLog", rec(today, "1") + rec(today, "?"), rec(today, "1") + rec(today, "?") + newRec + "\"3\"\r\n"},
    {"LogLongerThanTheWindow", longerThanTheWindow(), longerThanTheWindow() + newRec + "\"3\"\r\n"},
};

class FailingOperation : public ::testing::TestWithParam<FaultCase> {};

// For every operation of a start, a failure there either stops the start before any
// window with the log as it was (or, once an old log is deleted, no log at all), or
// was harmless and the start wrote exactly its one record and went on.
TEST_P(FailingOperation, StopsCleanlyOrWritesOneWholeRecord)
{
    const FaultCase& c = GetParam();
    const Outcome clean = start(c.log, 0);
    ASSERT_FALSE(clean.failed);
    ASSERT_EQ(clean.log, c.logAfterWipe);
    if (c.logAfterWipe.size() <= LogLimits{}.shownBytes) {
        EXPECT_EQ(clean.shownText, c.logAfterWipe) << "the window shows the log as written";
    } else {
        const std::string note = std::string(earlierRecordsNote) + "\r\n";
        ASSERT_TRUE(clean.shownText.starts_with(note));
        EXPECT_TRUE(c.logAfterWipe.ends_with(clean.shownText.substr(note.size()))) << "the window shows the log's end";
    }
    const int operations = static_cast<int>(clean.journal.size()) - 2; // without lock and unlock

    for (int n = 1; n <= operations; ++n) {
        SCOPED_TRACE("failing operation " + std::to_string(n) + ": " + clean.journal[static_cast<std::size_t>(n)]);
        const Outcome out = start(c.log, n);
        ASSERT_FALSE(out.journal.empty());
        EXPECT_EQ(out.journal.front(), "lock " + path);
        EXPECT_EQ(out.journal.back(), "unlock") << "the lock must be given back after a failure too";
        if (out.failed) {
            EXPECT_FALSE(out.shown);
            const bool deleted = std::find(out.journal.begin(), out.journal.end(), "delete") != out.journal.end() &&
                                 out.journal.back() != "delete";
            if (out.log) {
                EXPECT_EQ(out.log, c.log) << "a failed start changed the log";
            } else {
                EXPECT_TRUE(!c.log || deleted) << "the log vanished without being wiped";
            }
        } else {
            EXPECT_TRUE(out.shown);
            const std::string& operation = clean.journal[static_cast<std::size_t>(n)];
            if (operation == "flush") {
                // The record was in the file whole: the start counts, as a clean one does.
                EXPECT_EQ(out.log, clean.log);
                continue;
            }
            // Otherwise only the existence test may fail harmlessly: the log then counts as absent.
            EXPECT_EQ(operation, "exists");
            ASSERT_TRUE(out.log.has_value());
            const std::string old = c.log.value_or("");
            ASSERT_GT(out.log->size(), old.size());
            EXPECT_EQ(out.log->substr(0, old.size()), old);
            EXPECT_EQ(out.log->back(), '\n');
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Logs, FailingOperation, ::testing::ValuesIn(faultCases),
                         [](const ::testing::TestParamInfo<FaultCase>& row) { return std::string(row.param.name); });

// A power cut during an append leaves the record cut at any byte: the next start keeps
// the day, counts from the last whole record and starts its record on a line of its own.
TEST(TornWrite, AtEveryByteTheLastWholeRecordDecides)
{
    const std::string whole = rec(today, "1") + rec(today, "2");
    const std::string third = rec(today, "3");
    for (std::size_t cut = 0; cut < third.size(); ++cut) {
        SCOPED_TRACE("cut after " + std::to_string(cut) + " bytes");
        const std::string torn = third.substr(0, cut);
        const Outcome out = start(whole + torn, 0);
        ASSERT_FALSE(out.failed);
        const std::string lineEnd = torn.empty() || torn.back() == '\n' ? "" : "\r\n";
        EXPECT_EQ(out.log, whole + torn + lineEnd + newRec + "\"3\"\r\n");
    }
}

} // namespace
} // namespace kestrevane::startup
