#include "platform/win32/executable_directory.h"

#include <windows.h>

#include "platform/win32/text_convert.h"

namespace kestrevane::win32 {

std::string executableDirectory()
{
    // Grow until the whole path fits, so directories past MAX_PATH work.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return ".";
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    return narrow(slash == std::wstring::npos ? std::wstring_view(L".") : std::wstring_view(path).substr(0, slash));
}

} // namespace kestrevane::win32
