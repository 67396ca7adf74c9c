// One start of the program against an in-memory log: the wipe decision, the count, Main.
#include "startup/start_up.h"

#include <gtest/gtest.h>

#include "case_name.h"

#include <vector>

#include "fake_start_up.h"
#include "fake_startup_window.h"
#include "log_texts.h"
#include "startup/failure.h"

namespace kestrevane::startup {
namespace {

using Harness = testing::FakeStartUp;
using testing::RecordingStartupWindow;

using testing::newRec;
using testing::rec;
using testing::today;
const std::string& path = testing::logFile;

LocalDateTime at(int y, int m, int d, int hh = 7, int mm = 41, int ss = 9)
{
    return {{y, m, d}, hh, mm, ss};
}

struct StartCase {
    const char* name;
    std::optional<std::string> log; // nothing: no file
    std::vector<LocalDateTime> readings;
    std::string expectedLog;
    std::string expectedCount;
    bool german = false;
    bool parserFails = false;
};

class StartUp : public ::testing::TestWithParam<StartCase> {};

TEST_P(StartUp, LeavesTheExpectedLog)
{
    const StartCase& c = GetParam();
    Harness h;
    h.locale.germanOrder = c.german;
    h.locale.canParse = !c.parserFails;
    h.clock.readings.assign(c.readings.begin(), c.readings.end());
    if (c.log) h.files.files[path] = *c.log;

    const StartupResult result = updateStartupLog(h.services);

    EXPECT_EQ(result.countText, c.expectedCount);
    EXPECT_EQ(h.files.files[path], c.expectedLog);
    EXPECT_EQ(h.files.appends, 1);
}

const auto now = at(2026, 12, 6);

INSTANTIATE_TEST_SUITE_P(
    Logs, StartUp,
    ::testing::Values(
        StartCase{"first_start_creates_log", std::nullopt, {now}, newRec + "\"1\"\r\n", "1"},
        StartCase{"second_start_same_day", rec(today, "1"), {now}, rec(today, "1") + newRec + "\"2\"\r\n", "2"},
        StartCase{"third_start_same_day", rec(today, "1") + rec(today, "2"), {now},
                  rec(today, "1") + rec(today, "2") + newRec + "\"3\"\r\n", "3"},
        StartCase{"yesterday_is_wiped", rec("12/5/2026", "1") + rec("12/5/2026", "2"), {now}, newRec + "\"1\"\r\n", "1"},
        StartCase{"tomorrow_is_wiped", rec("12/7/2026", "4"), {now}, newRec + "\"1\"\r\n", "1"},
        StartCase{"last_year_is_wiped", rec("12/31/2026", "9"), {at(2027, 1, 1, 0, 0, 1)},
                  "\"1/1/2027\",\"00:00:01\",\"1\"\r\n", "1"},
        StartCase{"same_day_other_month_is_wiped", rec("11/6/2026", "2"), {now}, newRec + "\"1\"\r\n", "1"},
        StartCase{"empty_log_is_wiped", "", {now}, newRec + "\"1\"\r\n", "1"},
        StartCase{"only_line_ends_are_wiped", "\r\n\r\n", {now}, newRec + "\"1\"\r\n", "1"},
        StartCase{"unreadable_date_is_wiped", rec("garbage", "5"), {now}, newRec + "\"1\"\r\n", "1"},
        StartCase{"empty_date_is_wiped", rec("", "5"), {now}, newRec + "\"1\"\r\n", "1"},
        StartCase{"bad_count_counts_todays_records", rec("12/5/2026", "7") + rec(today, "1") + rec(today, "x"), {now},
                  rec("12/5/2026", "7") + rec(today, "1") + rec(today, "x") + newRec + "\"3\"\r\n", "3"},
        StartCase{"bad_count_of_old_day_is_harmless", rec("12/5/2026", "x"), {now}, newRec + "\"1\"\r\n", "1"},
        StartCase{"torn_line_gets_own_line_end", rec(today, "1") + rec(today, "2") + "\"12/6/20",
                  {now}, rec(today, "1") + rec(today, "2") + "\"12/6/20\r\n" + newRec + "\"3\"\r\n", "3"},
        StartCase{"unquoted_record_of_today_counts", today + ",06:00:00,4\r\n", {now},
                  today + ",06:00:00,4\r\n" + newRec + "\"5\"\r\n", "5"},
        StartCase{"parsed_other_form_of_today_is_kept", rec("12/06/2026", "2"), {now},
                  rec("12/06/2026", "2") + newRec + "\"3\"\r\n", "3"},
        // The clock passes midnight while the start runs: the start belongs wholly to the
        // day of its one reading, never a count of one day under the next day's date.
        StartCase{"midnight_during_the_start_counts_on_the_day_read",
                  rec("12/6/2026", "2"), {at(2026, 12, 6, 23, 59, 59), at(2026, 12, 7, 0, 0, 0)},
                  rec("12/6/2026", "2") + "\"12/6/2026\",\"23:59:59\",\"3\"\r\n", "3"},
        StartCase{"first_start_after_midnight_counts_one", rec("12/6/2026", "3", "23:59:59"),
                  {at(2026, 12, 7, 0, 0, 0), at(2026, 12, 7, 0, 0, 1)}, "\"12/7/2026\",\"00:00:00\",\"1\"\r\n", "1"},
        StartCase{"parser_fails_today_still_recognised", rec(today, "2"), {now},
                  rec(today, "2") + newRec + "\"3\"\r\n", "3", false, true},
        StartCase{"parser_fails_yesterday_wiped", rec("12/5/2026", "2"), {now}, newRec + "\"1\"\r\n", "1", false, true},
        StartCase{"german_order_same_day", rec("06.12.2026", "1"), {now},
                  rec("06.12.2026", "1") + "\"06.12.2026\",\"07:41:09\",\"2\"\r\n", "2", true},
        StartCase{"german_order_other_day", rec("07.12.2026", "1"), {now}, "\"06.12.2026\",\"07:41:09\",\"1\"\r\n", "1", true},
        StartCase{"big_count_continues", rec(today, "123456789012"), {now},
                  rec(today, "123456789012") + newRec + "\"123456789013\"\r\n", "123456789013"}),
    testing::CaseName());

TEST(StartUpTime, UsesTwoDigitFieldsAndTheLocaleSeparator)
{
    Harness h;
    h.locale.separator = ".";
    h.clock.readings = {at(2026, 12, 6, 0, 5, 7)};
    EXPECT_EQ(updateStartupLog(h.services).timeText, "00.05.07");
    EXPECT_EQ(h.files.files[path], "\"12/6/2026\",\"00.05.07\",\"1\"\r\n");
}

// One reading per start: the day decided on and the record's date and time are one moment.
TEST(StartUpTime, ReadsTheClockOnceWithOrWithoutALog)
{
    for (const bool withLog : {true, false}) {
        Harness h;
        if (withLog) h.files.files[path] = rec(today, "1");
        updateStartupLog(h.services);
        EXPECT_EQ(h.clock.calls, 1) << (withLog ? "with a log" : "without one");
    }
}

struct FailCase {
    const char* name;
    std::string log;
    bool failAppend, failRemove, failRead;
    std::string operation;
};

class StartUpFailure : public ::testing::TestWithParam<FailCase> {};

TEST_P(StartUpFailure, ThrowsAndLeavesTheLogAsItWas)
{
    const FailCase& c = GetParam();
    Harness h;
    h.files.files[path] = c.log;
    h.files.failAppend = c.failAppend;
    h.files.failRemove = c.failRemove;
    h.files.failRead = c.failRead;
    try {
        updateStartupLog(h.services);
        FAIL() << "no FileError";
    } catch (const FileError& e) {
        EXPECT_EQ(e.operation(), c.operation);
        EXPECT_EQ(e.path(), path);
        const std::string message = fileErrorMessage(e);
        EXPECT_NE(message.find(path), std::string::npos) << message;
        EXPECT_NE(message.find(e.reason()), std::string::npos) << message;
    }
    EXPECT_EQ(h.files.files[path], c.log);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, StartUpFailure,
    ::testing::Values(FailCase{"append_fails", rec(today, "1"), true, false, false, "write"},
                      FailCase{"delete_fails", rec("12/5/2026", "1"), false, true, false, "delete"},
                      FailCase{"read_fails", rec(today, "1"), false, false, true, "read"}),
    testing::CaseName());

TEST(Main, FillsTheWindowAfterTheLogIsWritten)
{
    Harness h;
    h.files.files[path] = rec(today, "1");
    RecordingStartupWindow window;
    Main(h.services, window);
    const std::vector<std::string> expected = {
        "load",
        "date=12/6/2026 ",
        "number=2 ",
        "text=" + rec(today, "1") + newRec + "\"2\"\r\n",
        "caption=Kestrevane long 12/6/2026",
        "show",
    };
    EXPECT_EQ(window.calls, expected);
}

TEST(Main, ShowsNoWindowWhenTheLogCannotBeWritten)
{
    Harness h;
    h.files.failAppend = true;
    RecordingStartupWindow window;
    EXPECT_THROW(Main(h.services, window), FileError);
    EXPECT_TRUE(window.calls.empty());
}

TEST(Main, UnreadableLogTakesTheNoFilePathAndAppends)
{
    Harness h;
    h.files.files[path] = rec("12/5/2026", "3");
    h.files.unreadable = true;
    EXPECT_EQ(updateStartupLog(h.services).countText, "1");
    EXPECT_EQ(h.files.files[path], rec("12/5/2026", "3") + newRec + "\"1\"\r\n");
}

} // namespace
} // namespace kestrevane::startup
