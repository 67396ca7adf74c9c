#include "platform/win32/win32_system_query.h"

#include <windows.h>

#include "platform/win32/text_convert.h"

namespace kestrevane::win32 {

namespace {

static_assert(sizeof(OSVERSIONINFOA) == 148, "the ANSI version record is 148 bytes");

template <typename Query>
std::string queryName(Query query, const std::string& buffer, std::uint32_t size)
{
    std::string ansi = utf8ToAnsi(buffer);
    DWORD length = size;
    query(ansi.data(), &length);
    // The whole buffer comes back, NUL and trailing blanks included.
    return ansiToUtf8(ansi);
}

} // namespace

std::uint64_t Win32SystemQuery::millisecondsSinceStart()
{
    using TickCount64 = ULONGLONG(WINAPI*)();
    // GetTickCount64 does not wrap after 49.7 days but is missing before Vista.
    static const auto tickCount64 = reinterpret_cast<TickCount64>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTickCount64")));
    return tickCount64 ? tickCount64() : GetTickCount();
}

sysinfo::VersionQueryResult Win32SystemQuery::queryVersion()
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = 148;
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    const BOOL returned = GetVersionExA(&info);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    sysinfo::VersionQueryResult result;
    result.returned = returned;
    if (returned) {
        result.record.majorVersion = static_cast<std::int32_t>(info.dwMajorVersion);
        result.record.minorVersion = static_cast<std::int32_t>(info.dwMinorVersion);
        result.record.buildNumber = static_cast<std::int32_t>(info.dwBuildNumber);
        result.record.platformId = static_cast<std::int32_t>(info.dwPlatformId);
    }
    result.record.servicePack = ansiToUtf8(std::string_view(info.szCSDVersion, sizeof info.szCSDVersion));
    return result;
}

std::string Win32SystemQuery::queryComputerName(const std::string& buffer, std::uint32_t size)
{
    return queryName(GetComputerNameA, buffer, size);
}

std::string Win32SystemQuery::queryUserName(const std::string& buffer, std::uint32_t size)
{
    return queryName(GetUserNameA, buffer, size);
}

} // namespace kestrevane::win32
