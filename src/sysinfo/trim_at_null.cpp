// Cutting system buffers at their first NUL.
#include "sysinfo/trim_at_null.h"

#include <algorithm>
#include <cstddef>

namespace kestrevane::sysinfo {

std::string trimAtNull(std::string& s)
{
    // Only the first 255 characters are searched: that is the length of every buffer
    // the probes hand to the system.
    constexpr std::size_t searched = 255;
    const std::size_t end = std::min(s.size(), searched);
    for (std::size_t i = 0; i < end; ++i) {
        if (s[i] == '\0') {
            s.resize(i);
            break;
        }
    }
    return s;
}

} // namespace kestrevane::sysinfo
