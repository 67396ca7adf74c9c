// The runtime linked into the exe imports functions by name that Windows XP lacks, and
// XP's loader would refuse the whole program: GetTickCount64 (winpthread, in the x86_64
// exe) and GetThreadId (GCC 13's win32 threads, in the i686 exe). Defining an import's
// address slot here makes the linker take it instead of kernel32's entry; the call then
// finds the real function at run time, or falls back where it is missing.
#include <windows.h>

#include "platform/win32/thread_id.h"
#include "platform/win32/tick_count.h"

namespace {

using TickCount64 = ULONGLONG(WINAPI*)();
using ThreadId = DWORD(WINAPI*)(HANDLE);

// The runtime only times waits with it, so a count that wraps after 49 days will do.
ULONGLONG WINAPI tickCount64() { return kestrevane::win32::tickCount64(); }
DWORD WINAPI threadId(HANDLE thread) { return kestrevane::win32::threadId(thread); }

} // namespace

#if defined(_WIN64)
#define KESTREVANE_SLOT(name, argumentBytes) "__imp_" #name
#else
#define KESTREVANE_SLOT(name, argumentBytes) "__imp__" #name "@" #argumentBytes
#endif

extern "C" {
TickCount64 tickCount64Import asm(KESTREVANE_SLOT(GetTickCount64, 0)) = tickCount64;
ThreadId threadIdImport asm(KESTREVANE_SLOT(GetThreadId, 4)) = threadId;
}
