// The local date and time from the system clock.
#include "platform/win32/win32_clock.h"

#include <windows.h>

namespace kestrevane::win32 {

startup::LocalDateTime Win32Clock::now()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {{t.wYear, t.wMonth, t.wDay}, t.wHour, t.wMinute, t.wSecond};
}

} // namespace kestrevane::win32
