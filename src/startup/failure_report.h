// What the user is told when a start cannot go on, whatever stopped it.
#pragma once

#include <string>

namespace kestrevane::startup {

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
