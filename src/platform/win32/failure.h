// Failures reach the user as a message box, never as the runtime's report or a silent end.
#pragma once

#include <string>

#include "startup/failure_report.h"

namespace kestrevane::win32 {

// Shows the report and gives the exit code to end with.
int showFailure(const startup::FailureReport& report) noexcept;

// Called inside a catch block: shows what reportCurrentFailure() says of it.
int showCurrentFailure(const std::string& logPath) noexcept;

// An exception must not cross the system's frames around a window procedure: the
// procedure reports it here (inside its catch block), which ends the message loops, and
// the program shows it once they have ended.
void keepCurrentFailure() noexcept;
// The kept report, if any; taking it clears it.
bool takeKeptFailure(startup::FailureReport& report) noexcept;

// Called on the user-interface thread: from now on whatever still reaches std::terminate,
// and a structured exception that nothing handles on any thread (an access violation, a
// stack overflow), shows the unexpected failure's report too and ends the process with 3.
void showUnhandledFailures(const std::string& logPath);

} // namespace kestrevane::win32
