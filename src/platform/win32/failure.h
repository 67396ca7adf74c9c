// The one place where a failure becomes what the user sees: a message box and an exit
// code, never the runtime's report or a silent end.
#pragma once

#include <functional>
#include <string>

namespace kestrevane::win32 {

// Runs the program and gives its exit code. Whatever fails in it ends in the report of
// that failure and the report's exit code instead: an exception out of `program`, one a
// window procedure kept, and from watchForCrashes() on, a crash. Until then the reports
// name the log as `logPath`.
int runReportingFailures(const std::string& logPath, const std::function<int()>& program) noexcept;

// Called on the user-interface thread once the log's place is known: the reports name it
// from now on, and whatever still reaches std::terminate, and a structured exception
// that nothing handles on any thread (an access violation, a stack overflow), shows the
// unexpected failure's report too and ends the process with 3.
void watchForCrashes(const std::string& logPath);

// An exception must not cross the system's frames around a window procedure: the
// procedure keeps it here (inside its catch block), which ends the message loops, and
// runReportingFailures() reports it once they have ended.
void keepCurrentFailure() noexcept;

} // namespace kestrevane::win32
