// The threads runtime linked into the exe imports GetTickCount64 by name, and Windows XP
// has no such function, so its loader would refuse the whole program. Defining the
// import's address slot here makes the linker take it instead of kernel32's entry; the
// call then finds the real function at run time, or falls back where it is missing.
#include <windows.h>

#include "platform/win32/tick_count.h"

namespace {

using TickCount64 = ULONGLONG(WINAPI*)();

// The runtime only times waits with it, so a count that wraps after 49 days will do.
ULONGLONG WINAPI tickCount64() { return kestrevane::win32::tickCount64(); }

} // namespace

#if defined(_WIN64)
#define KESTREVANE_TICK_COUNT_SLOT "__imp_GetTickCount64"
#else
#define KESTREVANE_TICK_COUNT_SLOT "__imp__GetTickCount64@0"
#endif

extern "C" {
TickCount64 tickCount64Import asm(KESTREVANE_TICK_COUNT_SLOT) = tickCount64;
}
