#include "startup/failure_report.h"

#include <new>
#include <stdexcept>

#include "startup/file_error_message.h"
#include "startup/file_system.h"

namespace kestrevane::startup {

namespace {

std::string whatFailed(std::exception_ptr failure)
{
    if (!failure) return "an unexpected error";
    try {
        std::rethrow_exception(failure);
    } catch (const std::bad_alloc&) {
        return "out of memory";
    } catch (const std::exception& e) {
        const std::string what = e.what();
        return what.empty() ? "an unexpected error" : what;
    } catch (...) {
        return "an unexpected error";
    }
}

} // namespace

FailureReport reportFailure(std::exception_ptr failure, const std::string& logPath)
{
    try {
        if (failure) std::rethrow_exception(failure);
    } catch (const FileError& error) {
        return {fileErrorMessage(error), 1};
    } catch (...) {
    }
    return {"Kestrevane had to stop: " + whatFailed(failure) + ".\r\n\r\nIts startup log is\r\n\r\n" + logPath, 2};
}

} // namespace kestrevane::startup
