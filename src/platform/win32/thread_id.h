// The id of the thread a handle stands for.
#pragma once

#include <windows.h>

namespace kestrevane::win32 {

// GetThreadId where the system has it (Vista on); on XP the thread's basic information
// from ntdll. 0 for a handle that is no thread's.
DWORD threadId(HANDLE thread);

} // namespace kestrevane::win32
