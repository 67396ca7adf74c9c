// UTF-8 <-> UTF-16 and UTF-8 <-> ANSI code page conversion with explicit lengths.
#include "platform/win32/text_convert.h"

#include <climits>

#include "startup/failure.h"

namespace kestrevane::win32 {

namespace {

int checkedLength(std::size_t size)
{
    // The API counts in int; texts this program handles are far smaller.
    if (size > static_cast<std::size_t>(INT_MAX)) throw startup::Error("text too long to convert");
    return static_cast<int>(size);
}

// Lengths are explicit, so embedded NULs survive and no terminator is added.
std::wstring toWide(std::string_view text, UINT codePage)
{
    if (text.empty()) return {};
    const int length = checkedLength(text.size());
    const int n = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (n <= 0) return {};
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    const int written = MultiByteToWideChar(codePage, 0, text.data(), length, out.data(), n);
    out.resize(static_cast<std::size_t>(written > 0 ? written : 0));
    return out;
}

std::string fromWide(std::wstring_view text, UINT codePage, DWORD flags)
{
    if (text.empty()) return {};
    const int length = checkedLength(text.size());
    const int n = WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    const int written = WideCharToMultiByte(codePage, flags, text.data(), length, out.data(), n, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(written > 0 ? written : 0));
    return out;
}

} // namespace

std::wstring widen(std::string_view utf8) { return toWide(utf8, CP_UTF8); }

std::string narrow(std::wstring_view utf16) { return fromWide(utf16, CP_UTF8, 0); }

std::string utf8ToAnsi(std::string_view utf8, UINT codePage)
{
    const std::wstring wide = widen(utf8);
    // Without this flag Windows picks a look-alike ("a" for "ā") instead of the default character.
    std::string bytes = fromWide(wide, codePage, WC_NO_BEST_FIT_CHARS);
    // A few code pages (UTF-7, ISO-2022 and friends) take no flags at all.
    if (bytes.empty() && !wide.empty() && GetLastError() == ERROR_INVALID_FLAGS)
        bytes = fromWide(wide, codePage, 0);
    return bytes;
}

std::string ansiToUtf8(std::string_view bytes, UINT codePage) { return narrow(toWide(bytes, codePage)); }

} // namespace kestrevane::win32
