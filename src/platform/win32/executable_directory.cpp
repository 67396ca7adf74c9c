// The running program's directory from GetModuleFileNameW.
#include "platform/win32/executable_directory.h"

#include <windows.h>

#include "platform/win32/text_convert.h"

namespace kestrevane::win32 {

std::string executableDirectory()
{
    // No path is longer than 32767 characters; past that the loop would never end.
    constexpr std::size_t longestPath = 32768;
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return ".";
        // A path that does not fit comes back cut to the buffer's size (on XP without a NUL).
        if (n < path.size() || path.size() >= longestPath) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return ".";
    return narrow(std::wstring_view(path).substr(0, slash));
}

} // namespace kestrevane::win32
