#include "startup/log_lines.h"

namespace kestrevane::startup {

bool LogLines::next(std::string_view& line)
{
    for (;;) {
        const std::size_t end = rest_.find('\n');
        if (end == std::string_view::npos) {
            rest_ = {};
            return false;
        }
        line = rest_.substr(0, end);
        rest_.remove_prefix(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find_first_not_of(" \t\r") != std::string_view::npos) return true;
    }
}

} // namespace kestrevane::startup
