// The log beside the exe and what the window shows of it, for the logs a start can meet.
#include <functional>
#include <regex>

#include "product_test.h"

namespace kestrevane::e2e {
namespace {

int secondOfDay(const SYSTEMTIME& t) { return t.wHour * 3600 + t.wMinute * 60 + t.wSecond; }

// Checks that `record` (ANSI bytes) is one line the program wrote at a time between
// `before` and `after` today, with the given count.
void expectNewRecord(const std::string& record, const std::wstring& count, const SYSTEMTIME& before,
                     const SYSTEMTIME& after)
{
    const std::wstring sep = regexEscaped(timeSeparator());
    const std::wregex form(L"\"" + regexEscaped(shortDate(after)) + L"\",\"(\\d\\d)" + sep + L"(\\d\\d)" + sep +
                           L"(\\d\\d)\",\"" + count + L"\"\r\n");
    std::wsmatch m;
    const std::wstring text = widen(record);
    ASSERT_TRUE(std::regex_match(text, m, form))
        << "new record: " << ::testing::PrintToString(record) << "\nexpected \"" << narrow(shortDate(after))
        << "\",\"hh" << narrow(timeSeparator()) << "mm" << narrow(timeSeparator()) << "ss\",\"" << narrow(count)
        << "\" CR LF";
    const int at = std::stoi(m[1].str()) * 3600 + std::stoi(m[2].str()) * 60 + std::stoi(m[3].str());
    EXPECT_LE(secondOfDay(before), at) << "record time before the start";
    EXPECT_LE(at, secondOfDay(after)) << "record time after the window showed";
}

struct LogCase {
    const char* name;
    // The log before the start for the given day; nothing: no file at all.
    std::function<std::optional<std::string>(const SYSTEMTIME& today)> seed;
    const wchar_t* count;
    // How much of the old log stays in front of the new record.
    std::function<std::string(const std::string& seed)> kept;
};

void PrintTo(const LogCase& row, std::ostream* os) { *os << row.name; }

std::string rec(const SYSTEMTIME& day, const wchar_t* time, const wchar_t* count)
{
    return recordLine(shortDate(day), time, count);
}

std::string all(const std::string& seed) { return seed; }
std::string none(const std::string&) { return {}; }
std::string onNewLine(const std::string& seed) { return seed + "\r\n"; }

const SYSTEMTIME oldDay = civilDay(2001, 5, 3);
// Control bytes, bytes of no character, stray separators and NULs.
const char garbage[] = "\x01\xff\xfe garbage,,\"\"\"\r\n\0\0 zz\r\n";

const LogCase logCases[] = {
    {"NoLogYet", [](const SYSTEMTIME&) { return std::nullopt; }, L"1", none},
    {"SecondStartOfTheDay", [](const SYSTEMTIME& d) { return rec(d, L"07:41:09", L"1"); }, L"2", all},
    {"ThirdStartOfTheDay",
     [](const SYSTEMTIME& d) { return rec(d, L"07:41:09", L"1") + rec(d, L"08:02:11", L"2"); }, L"3", all},
    {"CountPastNine", [](const SYSTEMTIME& d) { return rec(d, L"23:59:59", L"9"); }, L"10", all},
    {"OnlyTheLastRecordCounts",
     [](const SYSTEMTIME& d) { return rec(oldDay, L"06:00:00", L"7") + rec(d, L"07:00:00", L"4"); }, L"5", all},
    {"PastYearLogIsWiped",
     [](const SYSTEMTIME&) { return rec(oldDay, L"06:00:00", L"1") + rec(oldDay, L"06:30:00", L"2"); }, L"1",
     none},
    {"YesterdaysLogIsWiped", [](const SYSTEMTIME& d) { return rec(dayOffset(d, -1), L"22:00:00", L"5"); }, L"1",
     none},
    {"TomorrowsLogIsWiped", [](const SYSTEMTIME& d) { return rec(dayOffset(d, 1), L"01:00:00", L"3"); }, L"1",
     none},
    {"FarFutureLogIsWiped", [](const SYSTEMTIME&) { return rec(civilDay(2099, 12, 31), L"01:00:00", L"3"); },
     L"1", none},
    {"TodayThenAnOldDayIsWiped",
     [](const SYSTEMTIME& d) { return rec(d, L"07:00:00", L"3") + rec(dayOffset(d, -1), L"07:30:00", L"1"); },
     L"1", none},
    {"EmptyLogStartsAfresh", [](const SYSTEMTIME&) { return std::string(); }, L"1", none},
    {"GarbageLogStartsAfresh", [](const SYSTEMTIME&) { return std::string(garbage, sizeof garbage - 1); }, L"1",
     none},
    {"UnreadableDateStartsAfresh", [](const SYSTEMTIME&) { return recordLine(L"not a date", L"07:00:00", L"4"); },
     L"1", none},
    {"TornRecordIsIgnored",
     [](const SYSTEMTIME& d) {
         return rec(d, L"07:00:00", L"1") + narrow(L"\"" + shortDate(d) + L"\",\"07:30:00\",\"5\"");
     },
     L"2", onNewLine},
    {"TornFragmentIsIgnored",
     [](const SYSTEMTIME& d) {
         return rec(d, L"07:00:00", L"1") + rec(d, L"07:10:00", L"2") + narrow(L"\"" + shortDate(d) + L"\",\"07:2");
     },
     L"3", onNewLine},
    {"OnlyATornLineStartsAfresh", [](const SYSTEMTIME& d) { return narrow(L"\"" + shortDate(d) + L"\",\"07"); },
     L"1", none},
    {"OneByteStartsAfresh", [](const SYSTEMTIME&) { return std::string("x"); }, L"1", none},
    {"OnlyLineEndsStartAfresh", [](const SYSTEMTIME&) { return std::string("\r\n\r\n"); }, L"1", none},
    {"MissingClosingQuoteCounts",
     [](const SYSTEMTIME& d) { return narrow(L"\"" + shortDate(d) + L"\",\"07:00:00\",\"3\r\n"); }, L"4", all},
    {"UnquotedFieldsCount", [](const SYSTEMTIME& d) { return narrow(shortDate(d) + L",07:00:00,4\r\n"); }, L"5", all},
    {"ExtraFieldsAreIgnored",
     [](const SYSTEMTIME& d) { return narrow(L"\"" + shortDate(d) + L"\",\"07:00:00\",\"2\",\"x\",9\r\n"); }, L"3",
     all},
    {"BlanksAroundFieldsCount",
     [](const SYSTEMTIME& d) { return narrow(L" \"" + shortDate(d) + L"\" , \"07:00:00\" ,\t\"2\" \r\n"); }, L"3", all},
    {"HundredMegabytesOfAnOldDayAreWiped",
     [](const SYSTEMTIME&) {
         const std::string line = rec(oldDay, L"06:00:00", L"1");
         std::string big;
         big.reserve(100u << 20);
         while (big.size() < (100u << 20)) big += line;
         return big;
     },
     L"1", none},
};

class StartupLog : public ProductTest, public ::testing::WithParamInterface<LogCase> {};

TEST_P(StartupLog, StartWritesOneRecordAndShowsIt)
{
    const LogCase& c = GetParam();
    const SYSTEMTIME before = today();
    const std::optional<std::string> seed = c.seed(before);
    if (seed) {
        ASSERT_TRUE(writeBytes(logPath(), *seed));
    }

    const HWND window = startToMainWindow();
    ASSERT_NE(window, nullptr);
    const SYSTEMTIME after = today();
    ASSERT_TRUE(sameDay(before, after)) << "the day changed during the test; run it again";

    const std::optional<std::string> log = readBytes(logPath());
    ASSERT_TRUE(log.has_value()) << "no kestrevane.kvn beside the exe";
    const std::string kept = c.kept(seed.value_or(std::string()));
    ASSERT_GE(log->size(), kept.size()) << ::testing::PrintToString(*log);
    EXPECT_EQ(log->substr(0, kept.size()), kept) << "the old log should stay in front of the new record";
    expectNewRecord(log->substr(kept.size()), c.count, before, after);

    EXPECT_EQ(textOf(controlOf(window, Main::lblNUMBER)), std::wstring(c.count) + L" ");
    EXPECT_EQ(textOf(controlOf(window, Main::lbldate)), shortDate(after) + L" ");
    EXPECT_EQ(textOf(controlOf(window, Main::Text1)), blanked(*log));
    EXPECT_EQ(textOf(window), mainCaption(after));
    EXPECT_EQ(GetFileAttributesW((workingDir() + L"\\kestrevane.kvn").c_str()), INVALID_FILE_ATTRIBUTES)
        << "a log in the current folder instead of beside the exe";

    exitWithEsc(window);
    EXPECT_EQ(readBytes(logPath()), log) << "the log changed after the window was shown";
}

INSTANTIATE_TEST_SUITE_P(Logs, StartupLog, ::testing::ValuesIn(logCases),
                         [](const ::testing::TestParamInfo<LogCase>& row) { return std::string(row.param.name); });

// A log the program may not change stops the start with a message and leaves the log.
// (A read-only log of today is no such case here: Wine lets root append to it.)
struct LockedCase {
    const char* name;
    std::function<std::string(const SYSTEMTIME& today)> seed;
    bool readOnly;
    // Held open by another program that lets others read it, but not write or delete it.
    bool heldOpen;
    // Held open by another program that lets nobody in (share mode 0).
    bool heldExclusively = false;
    // A folder stands where the log belongs.
    bool isDirectory = false;
};

void PrintTo(const LockedCase& row, std::ostream* os) { *os << row.name; }

const LockedCase lockedCases[] = {
    {"OldLogReadOnly", [](const SYSTEMTIME&) { return rec(oldDay, L"07:00:00", L"1"); }, true, false},
    {"TodaysLogHeldOpen", [](const SYSTEMTIME& d) { return rec(d, L"07:00:00", L"1"); }, false, true},
    {"OldLogHeldOpen", [](const SYSTEMTIME&) { return rec(oldDay, L"07:00:00", L"1"); }, false, true},
    {"TodaysLogHeldExclusively", [](const SYSTEMTIME& d) { return rec(d, L"07:00:00", L"1"); }, false, false, true},
    {"FolderInPlaceOfTheLog", [](const SYSTEMTIME&) { return std::string(); }, false, false, false, true},
};

class UnchangeableLog : public ProductTest, public ::testing::WithParamInterface<LockedCase> {};

TEST_P(UnchangeableLog, StartFailsWithAMessageAndLeavesTheLog)
{
    const LockedCase& c = GetParam();
    const std::string seed = c.seed(today());
    if (c.isDirectory) {
        ASSERT_TRUE(CreateDirectoryW(logPath().c_str(), nullptr));
    } else {
        ASSERT_TRUE(writeBytes(logPath(), seed));
    }
    if (c.readOnly) {
        ASSERT_TRUE(SetFileAttributesW(logPath().c_str(), FILE_ATTRIBUTE_READONLY));
    }
    HANDLE held = INVALID_HANDLE_VALUE;
    if (c.heldOpen || c.heldExclusively) {
        held = CreateFileW(logPath().c_str(), GENERIC_READ, c.heldOpen ? FILE_SHARE_READ : 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE) << "could not hold the log open";
    }
    struct Release {
        HANDLE& h;
        ~Release()
        {
            if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        }
    } release{held};

    product_ = std::make_unique<Product>(exeDir(), workingDir());
    ASSERT_TRUE(product_->started()) << narrow(product_->startError());
    const MessageBoxSeen box = waitForMessageBox(*product_, L"Kestrevane");
    ASSERT_NE(box.box, nullptr) << "no message box \"Kestrevane\" within 15 s; the program "
                                << narrow(product_->state());
    EXPECT_TRUE(product_->windowsOf(mainClass).empty()) << "the main window was shown although the start failed";
    const std::wstring& message = box.text;
    EXPECT_EQ(box.buttons, 1) << "the error box should have only OK";
    EXPECT_NE(message.find(L"kestrevane.kvn"), std::wstring::npos)
        << "the message should name the log: " << narrow(message);
    // Only a refusal points at the folder; a log held by another program is no folder matter.
    EXPECT_EQ(message.find(L"writable folder") != std::wstring::npos, c.readOnly || c.isDirectory) << narrow(message);

    product_->postKey(VK_RETURN);
    const std::optional<DWORD> code = product_->waitForExit();
    ASSERT_TRUE(code.has_value()) << "the program did not end after its error box was closed (terminated)";
    EXPECT_NE(*code, 0u);
    if (held != INVALID_HANDLE_VALUE) { // let go before looking at the log
        CloseHandle(held);
        held = INVALID_HANDLE_VALUE;
    }
    if (c.isDirectory) {
        const DWORD attributes = GetFileAttributesW(logPath().c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
    } else {
        EXPECT_EQ(readBytes(logPath()), seed);
    }
}

INSTANTIATE_TEST_SUITE_P(Logs, UnchangeableLog, ::testing::ValuesIn(lockedCases),
                         [](const ::testing::TestParamInfo<LockedCase>& row) { return std::string(row.param.name); });

} // namespace
} // namespace kestrevane::e2e
