#include "platform/win32/win32_date_locale.h"

#include <oleauto.h>

#include "platform/win32/text_convert.h"

namespace kestrevane::win32 {

std::string Win32DateLocale::format(const startup::CivilDate& date, DWORD flags)
{
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(date.year);
    t.wMonth = static_cast<WORD>(date.month);
    t.wDay = static_cast<WORD>(date.day);
    wchar_t text[128];
    const int n = GetDateFormatW(locale_, flags, &t, nullptr, text, 128);
    return n > 1 ? narrow(std::wstring_view(text, static_cast<std::size_t>(n - 1))) : std::string();
}

std::string Win32DateLocale::shortDate(const startup::CivilDate& date) { return format(date, DATE_SHORTDATE); }
std::string Win32DateLocale::longDate(const startup::CivilDate& date) { return format(date, DATE_LONGDATE); }

std::string Win32DateLocale::timeSeparator()
{
    wchar_t text[8];
    const int n = GetLocaleInfoW(locale_, LOCALE_STIME, text, 8);
    return n > 1 ? narrow(std::wstring_view(text, static_cast<std::size_t>(n - 1))) : std::string(":");
}

std::optional<startup::CivilDate> Win32DateLocale::parseDate(const std::string& text)
{
    if (text.empty()) return std::nullopt;
    std::wstring wide = widen(text);
    DATE value = 0;
    if (FAILED(VarDateFromStr(wide.data(), locale_, 0, &value))) return std::nullopt;
    SYSTEMTIME t{};
    if (!VariantTimeToSystemTime(value, &t)) return std::nullopt;
    return startup::CivilDate{t.wYear, t.wMonth, t.wDay};
}

} // namespace kestrevane::win32
