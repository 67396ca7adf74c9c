// Windows version text from the version record.
#include "sysinfo/windows_version_text.h"

#include <cstdint>

#include "sysinfo/trim_at_null.h"

namespace kestrevane::sysinfo {

namespace {

// Every name but the last ends in a blank, so a service pack follows after one blank.
std::string releaseName(std::int32_t major, std::int32_t platformId, std::int32_t minor)
{
    constexpr std::int32_t windows9x = 1;
    switch (major) {
    case 3:
        return "Windows NT 3." + std::to_string(minor) + " ";
    case 4:
        if (platformId == windows9x) {
            switch (minor) {
            case 0: return "Windows95 ";
            case 10: return "Windows98 ";
            case 90: return "Windows ME ";
            default: return "Unknown Windows 9x system ";
            }
        }
        return minor == 0 ? "Windows NT 4 " : "Unknown NT 4-based version ";
    case 5:
        switch (minor) {
        case 0: return "Windows 2000 ";
        case 1: return "Windows XP (Whistler) ";
        default: return "Unknown Windows NT 5 system ";
        }
    default:
        return "Unknown Windows system";
    }
}

} // namespace

std::string windowsVersionTextFrom(const VersionQueryResult& result)
{
    if (result.returned == 0)
        return "Unable to get version information. GetVersionEx returned " + std::to_string(result.returned);

    const VersionRecord& r = result.record;
    std::string servicePack = r.servicePack;
    // The whole 32-bit build field is shown, not only its low word.
    return releaseName(r.majorVersion, r.platformId, r.minorVersion) + trimAtNull(servicePack) + "\r\n" +
           "Windows Version Number = " + std::to_string(r.majorVersion) + "." + std::to_string(r.minorVersion) +
           "." + std::to_string(r.buildNumber) + "\r\n";
}

std::string windowsVersionText(SystemQuery& system)
{
    return windowsVersionTextFrom(system.queryVersion());
}

} // namespace kestrevane::sysinfo
