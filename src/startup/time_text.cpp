#include "startup/time_text.h"

namespace kestrevane::startup {

namespace {

void appendTwoDigits(std::string& out, int value)
{
    out += static_cast<char>('0' + value / 10 % 10);
    out += static_cast<char>('0' + value % 10);
}

} // namespace

std::string timeText(const LocalDateTime& time, const std::string& separator)
{
    std::string text;
    appendTwoDigits(text, time.hour);
    text += separator;
    appendTwoDigits(text, time.minute);
    text += separator;
    appendTwoDigits(text, time.second);
    return text;
}

} // namespace kestrevane::startup
