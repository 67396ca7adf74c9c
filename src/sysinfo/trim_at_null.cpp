// Cutting system buffers at their first NUL.
#include "sysinfo/trim_at_null.h"

#include <cstddef>

namespace kestrevane::sysinfo {

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

} // namespace kestrevane::sysinfo
