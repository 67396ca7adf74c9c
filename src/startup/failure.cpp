#include "startup/failure.h"

#include <new>

namespace kestrevane::startup {

namespace {

// Opening the log (for appending, in practice: a read only follows a test that it
// opens), creating, writing or deleting it needs a folder the user may change; a
// failed read of a log that opened does not, nor does a log another program holds.
bool needsWritableFolder(const FileError& error)
{
    const std::string& operation = error.operation();
    return error.cause() == FileError::Cause::accessDenied &&
           (operation == "open" || operation == "create" || operation == "write" || operation == "delete");
}

// The folder part of a Windows path; a drive's root keeps its backslash.
std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return {};
    std::string folder = path.substr(0, slash);
    if (folder.empty() || folder.back() == ':') folder += path[slash];
    return folder;
}

FailureReport stopped(const std::string& what, const std::string& logPath)
{
    return {"Kestrevane had to stop: " + what + ".\r\n\r\nIts startup log is\r\n\r\n" + logPath, 2};
}

} // namespace

std::string fileErrorMessage(const FileError& error)
{
    std::string message = "Kestrevane could not " + error.operation() + " its startup log\r\n\r\n" +
                          error.path() + "\r\n\r\n" + error.reason();
    if (!needsWritableFolder(error)) return message;
    const std::string folder = folderOf(error.path());
    message += "\r\n\r\nKestrevane keeps its log beside its exe, so it must be kept in a writable folder.";
    if (!folder.empty()) message += " Its folder is\r\n\r\n" + folder;
    return message;
}

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
