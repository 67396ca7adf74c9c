// What the user is told for each failure that stops a start: the fatal message for a
// startup log that cannot be kept, and the report of any other kind of failure.
#include "startup/failure.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "case_name.h"

namespace kestrevane::startup {
namespace {

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

bool hasLine(const std::string& text, const std::string& line)
{
    for (const std::string& l : linesOf(text))
        if (l == line) return true;
    return false;
}

struct MessageCase {
    const char* name;
    const char* operation;
    const char* path;
    const char* folder; // the line naming the folder; nullptr: the message says nothing of folders
    FileError::Cause cause = FileError::Cause::accessDenied;
};

class FileErrorMessage : public ::testing::TestWithParam<MessageCase> {};

TEST_P(FileErrorMessage, SaysWhatFailedOnWhichFileAndWhy)
{
    const MessageCase& c = GetParam();
    const std::string message = fileErrorMessage(FileError(c.operation, c.path, "Access is denied", c.cause));

    EXPECT_EQ(linesOf(message).front(), std::string("Kestrevane could not ") + c.operation + " its startup log");
    EXPECT_TRUE(hasLine(message, c.path)) << message;
    EXPECT_TRUE(hasLine(message, "Access is denied")) << message;
    const bool asksForWritableFolder = message.find("must be kept in a writable folder") != std::string::npos;
    EXPECT_EQ(asksForWritableFolder, c.folder != nullptr) << message;
    if (c.folder) {
        EXPECT_TRUE(hasLine(message, c.folder)) << message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Operations, FileErrorMessage,
    ::testing::Values(
        MessageCase{"append_open_in_program_files", "open", "C:\\Program Files\\Kestrevane\\kestrevane.kvn",
                    "C:\\Program Files\\Kestrevane"},
        MessageCase{"create_fails", "create", "C:\\Kv\\kestrevane.kvn", "C:\\Kv"},
        MessageCase{"write_fails", "write", "C:\\Kv\\kestrevane.kvn", "C:\\Kv"},
        MessageCase{"delete_of_old_day_fails", "delete", "C:\\Kv\\kestrevane.kvn", "C:\\Kv"},
        MessageCase{"drive_root_keeps_its_backslash", "open", "D:\\kestrevane.kvn", "D:\\"},
        MessageCase{"network_share", "write", "\\\\server\\tools\\kestrevane.kvn", "\\\\server\\tools"},
        MessageCase{"read_of_an_open_log_is_no_folder_matter", "read", "C:\\Kv\\kestrevane.kvn", nullptr},
        MessageCase{"log_held_by_another_program_is_no_folder_matter", "open", "C:\\Kv\\kestrevane.kvn", nullptr,
                    FileError::Cause::other}),
    testing::CaseName());

const std::string logFile = "C:\\Kv\\kestrevane.kvn";

template <typename Exception>
std::function<void()> throwing(Exception e)
{
    return [e] { throw e; };
}

struct ReportCase {
    std::string name;
    std::function<void()> fail;
    std::string expectedMessage;
    int exitCode;
};

std::string stopped(const std::string& what)
{
    return "Kestrevane had to stop: " + what + ".\r\n\r\nIts startup log is\r\n\r\n" + logFile;
}

class Report : public ::testing::TestWithParam<ReportCase> {};

TEST_P(Report, NamesWhatFailedAndTheLog)
{
    const ReportCase& c = GetParam();
    FailureReport report;
    try {
        c.fail();
        FAIL() << "nothing thrown";
    } catch (...) {
        report = reportCurrentFailure(logFile);
    }
    EXPECT_EQ(report.message, c.expectedMessage);
    EXPECT_EQ(report.exitCode, c.exitCode);
}

const FileError denied("write", logFile, "Access is denied", FileError::Cause::accessDenied);

INSTANTIATE_TEST_SUITE_P(
    Failures, Report,
    ::testing::Values(ReportCase{"file_error_keeps_its_own_message", throwing(denied), fileErrorMessage(denied), 1},
                      ReportCase{"out_of_memory", throwing(std::bad_alloc()), stopped("out of memory"), 2},
                      ReportCase{"own_error_names_its_message", throwing(Error("text too long to convert")),
                                 stopped("text too long to convert"), 2},
                      ReportCase{"standard_error_names_its_message", throwing(std::length_error("basic_string::_M_create")),
                                 stopped("basic_string::_M_create"), 2},
                      ReportCase{"exception_without_text", throwing(std::runtime_error("")),
                                 stopped("an unexpected error"), 2},
                      ReportCase{"not_a_standard_exception", throwing(42), stopped("an unexpected error"), 2}),
    testing::CaseName());

TEST(Report, WithNothingToSayIsTheUnexpectedError)
{
    EXPECT_EQ(reportUnexpectedFailure(logFile).message, stopped("an unexpected error"));
    EXPECT_EQ(reportUnexpectedFailure(logFile).exitCode, 2);
}

} // namespace
} // namespace kestrevane::startup
