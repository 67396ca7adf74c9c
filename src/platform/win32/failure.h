// Failures reach the user as a message box, never as the runtime's report or a silent end.
#pragma once

#include <exception>
#include <string>

namespace kestrevane::win32 {

// Shows what reportFailure() says of `failure` and gives the exit code to end with.
int showFailure(std::exception_ptr failure, const std::string& logPath) noexcept;

// An exception must not cross the system's frames around a window procedure: the
// procedure keeps it here, which ends the message loops, and the start-up reports it.
void keepFailure(std::exception_ptr failure) noexcept;
std::exception_ptr takeKeptFailure() noexcept;

// From now on whatever still reaches std::terminate shows the message box too.
void showFailureOnTerminate(const std::string& logPath);

} // namespace kestrevane::win32
