// Failures past the log's file errors, injected into a test build of the program: each
// ends in a message box that names what failed and the log, and a non-zero exit code.
#include <algorithm>

#include "product_test.h"

namespace kestrevane::e2e {
namespace {

struct FailureCase {
    const char* name;
    const wchar_t* fault;
    bool inQuickInfo; // the failure comes in the Quick Info button's handler, not at the start
    const wchar_t* named; // what the message must say failed
    DWORD exitCode;
};

void PrintTo(const FailureCase& row, std::ostream* os) { *os << row.name; }

const FailureCase failureCases[] = {
    {"TextTooLongToConvert", L"decode-too-long", false, L"text too long to convert", 2},
    {"OutOfMemoryAtTheStart", L"decode-out-of-memory", false, L"out of memory", 2},
    {"ExceptionInAHandler", L"quick-info", true, L"injected failure in Quick Info", 2},
    {"TerminateInAHandler", L"quick-info-terminate", true, L"an unexpected error", 3},
    {"AccessViolationInAHandler", L"quick-info-access-violation", true, L"an unexpected error", 3},
    {"AccessViolationOnAnotherThread", L"quick-info-thread-access-violation", true, L"an unexpected error", 3},
};

class InjectedFailure : public ProductTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(InjectedFailure, ShowsAMessageNamingItAndTheLogAndExitsNonZero)
{
    const FailureCase& c = GetParam();
    const SYSTEMTIME day = today();
    const std::string seed = recordLine(shortDate(day), L"07:00:00", L"1");
    ASSERT_TRUE(writeBytes(logPath(), seed));

    product_ = std::make_unique<Product>(exeDir(), workingDir(), InjectedFault{c.fault});
    ASSERT_TRUE(product_->started()) << narrow(product_->startError());
    if (c.inQuickInfo) {
        const HWND window = product_->waitForWindow(mainClass);
        ASSERT_NE(window, nullptr) << "no main window; the program " << narrow(product_->state());
        PostMessageW(controlOf(window, Main::cmdQuickInfo), BM_CLICK, 0, 0);
    }

    const MessageBoxSeen box = waitForMessageBox(*product_, L"Kestrevane");
    ASSERT_NE(box.box, nullptr) << "no message box \"Kestrevane\"; the program " << narrow(product_->state());
    EXPECT_EQ(box.buttons, 1);
    EXPECT_NE(box.text.find(c.named), std::wstring::npos) << narrow(box.text);
    EXPECT_NE(box.text.find(logPath()), std::wstring::npos) << "the message should name the log: " << narrow(box.text);
    // Another thread's windows are hidden by their own thread, a moment later.
    for (int i = 0; i < 40 && !product_->windowsOf(mainClass).empty(); ++i) Sleep(50);
    EXPECT_TRUE(product_->windowsOf(mainClass).empty()) << "the main window outlived the failure";

    // OK, on the box's own thread: a crash's report has one of its own.
    PostMessageW(GetDlgItem(box.box, IDOK), BM_CLICK, 0, 0);
    const std::optional<DWORD> code = product_->waitForExit();
    ASSERT_TRUE(code.has_value()) << "the program did not end after its message was closed (terminated)";
    EXPECT_EQ(*code, c.exitCode);

    // The record was appended before the failure: the log holds it whole, and nothing else new.
    const std::optional<std::string> log = readBytes(logPath());
    ASSERT_TRUE(log.has_value());
    ASSERT_GT(log->size(), seed.size());
    EXPECT_EQ(log->substr(0, seed.size()), seed);
    const std::string added = log->substr(seed.size());
    EXPECT_EQ(added.find("\r\n"), added.size() - 2) << "one whole record added: " << ::testing::PrintToString(added);
    EXPECT_NE(added.find("\"2\""), std::string::npos) << ::testing::PrintToString(added);
}

INSTANTIATE_TEST_SUITE_P(Faults, InjectedFailure, ::testing::ValuesIn(failureCases),
                         [](const ::testing::TestParamInfo<FailureCase>& row) { return std::string(row.param.name); });

// While another program still holds the old day's deleted log, its name refuses to be
// opened for a moment: the new day's record waits for it instead of stopping the start.
TEST_F(ProductTest, NameHeldBackAfterTheDeleteStillStartsTheDay)
{
    const SYSTEMTIME day = today();
    ASSERT_TRUE(writeBytes(logPath(), recordLine(shortDate(dayOffset(day, -1)), L"07:00:00", L"4")));

    const HWND window = startToMainWindow(
        std::make_unique<Product>(exeDir(), workingDir(), InjectedFault{L"denied-after-delete"}));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(textOf(controlOf(window, Main::lblNUMBER)), L"1 ");
    const std::optional<std::string> log = readBytes(logPath());
    ASSERT_TRUE(log.has_value()) << "no log after the start";
    EXPECT_EQ(std::count(log->begin(), log->end(), '\n'), 1) << ::testing::PrintToString(*log);
    EXPECT_NE(log->find("\"1\"\r\n"), std::string::npos) << ::testing::PrintToString(*log);
    exitWithEsc(window);
}

} // namespace
} // namespace kestrevane::e2e
