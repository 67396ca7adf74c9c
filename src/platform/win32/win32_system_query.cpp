// The raw system values behind the probes: tick count, ANSI version record, names.
#include "platform/win32/win32_system_query.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/text_convert.h"
#include "platform/win32/tick_count.h"

namespace kestrevane::win32 {

namespace {

static_assert(sizeof(OSVERSIONINFOA) == 148, "the ANSI version record is 148 bytes");

using NameQuery = BOOL(WINAPI*)(LPWSTR, LPDWORD);

// The wide calls: through the ANSI code page a name outside it would come back as
// question marks or look-alikes.
std::string queryName(NameQuery query, const std::string& buffer, std::uint32_t size)
{
    std::wstring wide = widen(buffer);
    // The size is passed as given, but never so large that the system could write past the buffer.
    DWORD length = std::min<DWORD>(size, static_cast<DWORD>(wide.size()));
    // The result is not consulted: on failure the buffer comes back as it went.
    query(wide.data(), &length);
    return narrow(wide);
}

} // namespace

std::uint64_t Win32SystemQuery::millisecondsSinceStart() { return tickCount64(); }

sysinfo::VersionQueryResult Win32SystemQuery::queryVersion()
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = 148;
    sysinfo::VersionQueryResult result;
    result.returned = GetVersionExA(&info);
    if (result.returned) {
        result.record.majorVersion = static_cast<std::int32_t>(info.dwMajorVersion);
        result.record.minorVersion = static_cast<std::int32_t>(info.dwMinorVersion);
        result.record.buildNumber = static_cast<std::int32_t>(info.dwBuildNumber);
        result.record.platformId = static_cast<std::int32_t>(info.dwPlatformId);
    }
    // All 128 bytes, NULs included: cutting at the first NUL is the caller's business.
    result.record.servicePack = ansiToUtf8(std::string_view(info.szCSDVersion, sizeof info.szCSDVersion));
    return result;
}

std::string Win32SystemQuery::queryComputerName(const std::string& buffer, std::uint32_t size)
{
    return queryName(GetComputerNameW, buffer, size);
}

std::string Win32SystemQuery::queryUserName(const std::string& buffer, std::uint32_t size)
{
    return queryName(GetUserNameW, buffer, size);
}

} // namespace kestrevane::win32
