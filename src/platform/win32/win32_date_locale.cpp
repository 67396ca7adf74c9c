// Date texts through the system's own formatter (GetDateFormatW) and parser (VarDateFromStr).
#include "platform/win32/win32_date_locale.h"

#include <oleauto.h>

#include "platform/win32/text_convert.h"

namespace kestrevane::win32 {

namespace {

// A locale string without its terminating NUL; empty when the call fails.
template <typename Call>
std::wstring askSize(Call call)
{
    const int n = call(nullptr, 0);
    if (n <= 1) return {};
    std::wstring text(static_cast<std::size_t>(n), L'\0');
    const int written = call(text.data(), n);
    text.resize(static_cast<std::size_t>(written > 1 ? written - 1 : 0));
    return text;
}

} // namespace

std::string Win32DateLocale::format(const startup::CivilDate& date, DWORD flags)
{
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(date.year);
    t.wMonth = static_cast<WORD>(date.month);
    t.wDay = static_cast<WORD>(date.day);
    return narrow(askSize([&](wchar_t* out, int size) {
        return GetDateFormatW(locale_, flags, &t, nullptr, out, size);
    }));
}

std::string Win32DateLocale::shortDate(const startup::CivilDate& date) { return format(date, DATE_SHORTDATE); }

std::string Win32DateLocale::longDate(const startup::CivilDate& date) { return format(date, DATE_LONGDATE); }

std::string Win32DateLocale::timeSeparator()
{
    const std::wstring separator =
        askSize([&](wchar_t* out, int size) { return GetLocaleInfoW(locale_, LOCALE_STIME, out, size); });
    return separator.empty() ? std::string(":") : narrow(separator);
}

std::optional<startup::CivilDate> Win32DateLocale::parseDate(const std::string& text)
{
    std::wstring wide = widen(text);
    // The parser stops at a NUL; a text with one inside is not a date.
    if (wide.empty() || wide.find(L'\0') != std::wstring::npos) return std::nullopt;
    DATE value = 0;
    if (FAILED(VarDateFromStr(wide.data(), locale_, 0, &value))) return std::nullopt;
    SYSTEMTIME t{};
    if (!VariantTimeToSystemTime(value, &t)) return std::nullopt;
    return startup::CivilDate{t.wYear, t.wMonth, t.wDay};
}

} // namespace kestrevane::win32
