// Quick Info message text.
#include "sysinfo/quick_info_text.h"

namespace kestrevane::sysinfo {

namespace {

// Only blanks go; tabs, CR and LF are part of the text.
std::string_view trimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

} // namespace

std::string quickInfoText(const std::string& uptime, const std::string& version)
{
    std::string text = "[ Boot info ]\r\n";
    text += trimBlanks(uptime);
    text += "\r\n\r\n[ Your system ]\r\n";
    text += trimBlanks(version);
    return text;
}

} // namespace kestrevane::sysinfo
