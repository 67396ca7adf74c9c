#include "sysinfo/system_info.h"

#include <charconv>

namespace kestrevane::sysinfo {

namespace {

std::string blankNameBuffer() { return std::string(nameBufferLength, ' '); }

std::uint64_t roundedSeconds(std::uint64_t milliseconds)
{
    std::uint64_t seconds = milliseconds / 1000;
    const std::uint64_t rest = milliseconds % 1000;
    if (rest > 500 || (rest == 500 && seconds % 2 == 1)) ++seconds;
    return seconds;
}

void appendAtLeastTwoDigits(std::string& out, std::uint64_t value)
{
    if (value < 10) out += '0';
    char digits[20];
    const auto written = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, written.ptr);
}

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

// Only blanks go; tabs, CR and LF are part of the text.
std::string_view trimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

} // namespace

std::string trimAtNull(std::string& s)
{
    // Only the first 255 characters are searched: that is the length of every buffer
    // the probes hand to the system. Characters, not bytes: a name of 255 characters
    // takes up to three times as many bytes in UTF-8.
    constexpr std::size_t searched = 255;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto byte = static_cast<unsigned char>(s[i]);
        if ((byte & 0xC0) == 0x80) continue; // continues the character before
        if (++characters > searched) break;
        if (byte == 0) {
            s.resize(i);
            break;
        }
    }
    return s;
}

std::string nameTextFromBuffer(std::string buffer)
{
    // A failed query is not detected: an untouched buffer comes back as its 255 blanks.
    return trimAtNull(buffer);
}

std::string computerNameText(SystemQuery& system)
{
    return nameTextFromBuffer(system.queryComputerName(blankNameBuffer(), nameBufferSize));
}

std::string userNameText(SystemQuery& system)
{
    return nameTextFromBuffer(system.queryUserName(blankNameBuffer(), nameBufferSize));
}

std::string uptimeTextFromMilliseconds(std::uint64_t milliseconds)
{
    // Rounded once on the total, so no field can show 60.
    const std::uint64_t total = roundedSeconds(milliseconds);
    const std::uint64_t hours = total / 3600;
    const std::uint64_t minutes = total % 3600 / 60;
    const std::uint64_t seconds = total % 60;

    std::string text = "Hours since reboot: ";
    appendAtLeastTwoDigits(text, hours);
    text += ':';
    appendAtLeastTwoDigits(text, minutes);
    text += ':';
    appendAtLeastTwoDigits(text, seconds);
    return text;
}

std::string uptimeText(SystemQuery& system)
{
    return uptimeTextFromMilliseconds(system.millisecondsSinceStart());
}

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

std::string quickInfoText(const std::string& uptime, const std::string& version)
{
    std::string text = "[ Boot info ]\r\n";
    text += trimBlanks(uptime);
    text += "\r\n\r\n[ Your system ]\r\n";
    text += trimBlanks(version);
    return text;
}

} // namespace kestrevane::sysinfo
