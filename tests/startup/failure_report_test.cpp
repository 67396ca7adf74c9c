// What the user is told for each kind of failure that stops a start.
#include "startup/failure_report.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "case_name.h"
#include "startup/file_error_message.h"
#include "startup/file_system.h"

namespace kestrevane::startup {
namespace {

const std::string logFile = "C:\\Kv\\kestrevane.kvn";

template <typename Exception>
std::exception_ptr thrown(Exception e)
{
    return std::make_exception_ptr(std::move(e));
}

struct ReportCase {
    std::string name;
    std::exception_ptr failure;
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
    const FailureReport report = reportFailure(c.failure, logFile);
    EXPECT_EQ(report.message, c.expectedMessage);
    EXPECT_EQ(report.exitCode, c.exitCode);
}

const FileError denied("write", logFile, "Access is denied", FileError::Cause::accessDenied);

INSTANTIATE_TEST_SUITE_P(
    Failures, Report,
    ::testing::Values(ReportCase{"file_error_keeps_its_own_message", thrown(denied), fileErrorMessage(denied), 1},
                      ReportCase{"out_of_memory", thrown(std::bad_alloc()), stopped("out of memory"), 2},
                      ReportCase{"text_too_long", thrown(std::length_error("text too long to convert")),
                                 stopped("text too long to convert"), 2},
                      ReportCase{"exception_without_text", thrown(std::runtime_error("")),
                                 stopped("an unexpected error"), 2},
                      ReportCase{"not_a_standard_exception", thrown(42), stopped("an unexpected error"), 2},
                      ReportCase{"no_exception_at_all", nullptr, stopped("an unexpected error"), 2}),
    testing::CaseName());

} // namespace
} // namespace kestrevane::startup
