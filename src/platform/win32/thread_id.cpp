#include "platform/win32/thread_id.h"

#include "platform/win32/system_library.h"

namespace kestrevane::win32 {

DWORD threadId(HANDLE thread)
{
    using GetThreadIdFn = DWORD(WINAPI*)(HANDLE);
    if (const auto real = systemFunction<GetThreadIdFn>(L"kernel32.dll", "GetThreadId")) return real(thread);
    // THREAD_BASIC_INFORMATION, which no header of the API declares.
    struct BasicInformation {
        LONG exitStatus;
        void* environmentBlock;
        HANDLE process;
        HANDLE thread;
        ULONG_PTR affinityMask;
        LONG priority;
        LONG basePriority;
    } information{};
    using QueryFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    constexpr int threadBasicInformation = 0;
    const auto query = systemFunction<QueryFn>(L"ntdll.dll", "NtQueryInformationThread");
    if (!query || query(thread, threadBasicInformation, &information, sizeof information, nullptr) < 0) return 0;
    return static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(information.thread));
}

} // namespace kestrevane::win32
