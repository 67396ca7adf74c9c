// What the user is told for each kind of failure that stops a start.
#include "startup/failure_report.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

#include "case_name.h"
#include "startup/error.h"
#include "startup/file_error_message.h"
#include "startup/file_system.h"

namespace kestrevane::startup {
namespace {

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
