// What stops a start, and what the user is told of it: the program's own errors, and the
// one report every failure ends in.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace kestrevane::startup {

// The exception this program throws with a message of its own. Not std::runtime_error:
// the standard error classes keep their message in the runtime's old reference-counted
// string, and with it comes a copy of the whole string class (and more) that the rest of
// the program does not use.
class Error : public std::exception {
public:
    explicit Error(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// A file operation that failed; the start-up cannot go on without it.
class FileError : public Error {
public:
    // Refused for want of permission (as opposed to a lock, a full disk, ...): what a
    // folder the user may not change gives.
    enum class Cause { other, accessDenied };

    FileError(std::string operation, std::string path, std::string reason, Cause cause = Cause::other)
        : Error(operation + " " + path + ": " + reason),
          operation_(std::move(operation)), path_(std::move(path)), reason_(std::move(reason)), cause_(cause)
    {
    }

    // "create", "open", "read", "write", "delete" ...
    const std::string& operation() const { return operation_; }
    const std::string& path() const { return path_; }
    // The system's own description of the failure.
    const std::string& reason() const { return reason_; }
    Cause cause() const { return cause_; }

private:
    std::string operation_;
    std::string path_;
    std::string reason_;
    Cause cause_;
};

// The text the user sees when the startup log cannot be kept: what failed, on which
// file, and the system's reason. When the log could not be created, written or deleted,
// it also names the exe's folder and says that the program must be kept in a writable
// folder: the usual cause is a copy in a folder such as Program Files that only
// administrators may change.
std::string fileErrorMessage(const FileError& error);

struct FailureReport {
    std::string message;
    int exitCode = 0; // 1: the log could not be kept; 2: anything else
};

// Called inside a catch block: reports the exception being handled. A FileError gets its
// own message; anything else (out of memory, a text too long to convert, any other
// exception) is named, together with the log, so that the user knows the program
// stopped and where its records are.
FailureReport reportCurrentFailure(const std::string& logPath);

// Where nothing says what went wrong: the last-resort report.
FailureReport reportUnexpectedFailure(const std::string& logPath);

} // namespace kestrevane::startup
