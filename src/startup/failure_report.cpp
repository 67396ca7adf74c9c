#include "startup/failure_report.h"

#include <exception>
#include <new>

#include "startup/file_error_message.h"
#include "startup/file_system.h"

namespace kestrevane::startup {

namespace {

FailureReport stopped(const std::string& what, const std::string& logPath)
{
    return {"Kestrevane had to stop: " + what + ".\r\n\r\nIts startup log is\r\n\r\n" + logPath, 2};
}

} // namespace

FailureReport reportCurrentFailure(const std::string& logPath)
{
    // Rethrown to tell the kinds apart: std::exception_ptr would cost the exe its runtime.
    try {
        throw;
    } catch (const FileError& error) {
        return {fileErrorMessage(error), 1};
    } catch (const std::bad_alloc&) {
        return stopped("out of memory", logPath);
    } catch (const std::exception& e) {
        const std::string what = e.what();
        return what.empty() ? reportUnexpectedFailure(logPath) : stopped(what, logPath);
    } catch (...) {
        return reportUnexpectedFailure(logPath);
    }
}

FailureReport reportUnexpectedFailure(const std::string& logPath) { return stopped("an unexpected error", logPath); }

} // namespace kestrevane::startup
