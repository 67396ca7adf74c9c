#include "platform/win32/full_path.h"

#include <windows.h>

namespace kestrevane::win32 {

std::wstring fullPathName(const std::wstring& path)
{
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::wstring full(needed, L'\0');
    const DWORD n = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (n == 0 || n >= needed) return path;
    full.resize(n);
    return full;
}

std::wstring longPathName(const std::wstring& path)
{
    const DWORD needed = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) return path;
    std::wstring spelt(needed, L'\0');
    const DWORD n = GetLongPathNameW(path.c_str(), spelt.data(), needed);
    if (n == 0 || n >= needed) return path;
    spelt.resize(n);
    return spelt;
}

} // namespace kestrevane::win32
