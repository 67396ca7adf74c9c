#include "platform/win32/tick_count.h"

#include <windows.h>

#include "platform/win32/system_library.h"

namespace kestrevane::win32 {

std::uint64_t tickCount64()
{
    using TickCount64 = ULONGLONG(WINAPI*)();
    if (const auto real = systemFunction<TickCount64>(L"kernel32.dll", "GetTickCount64")) return real();
    return GetTickCount();
}

} // namespace kestrevane::win32
