// Uptime text from the system's millisecond count.
#include "sysinfo/uptime_text.h"

#include <charconv>

namespace kestrevane::sysinfo {

namespace {

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

} // namespace

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

} // namespace kestrevane::sysinfo
