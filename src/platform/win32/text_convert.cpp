#include "platform/win32/text_convert.h"

#include <climits>

namespace kestrevane::win32 {

namespace {

// Lengths are explicit, so embedded NULs survive both ways.
std::wstring toWide(std::string_view text, UINT codePage)
{
    if (text.empty() || text.size() > INT_MAX) return {};
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string fromWide(std::wstring_view text, UINT codePage)
{
    if (text.empty() || text.size() > INT_MAX) return {};
    const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

} // namespace

std::wstring widen(std::string_view utf8) { return toWide(utf8, CP_UTF8); }
std::string narrow(std::wstring_view utf16) { return fromWide(utf16, CP_UTF8); }
std::string utf8ToAnsi(std::string_view utf8, UINT codePage) { return fromWide(widen(utf8), codePage); }
std::string ansiToUtf8(std::string_view bytes, UINT codePage) { return narrow(toWide(bytes, codePage)); }

} // namespace kestrevane::win32
