// Date texts through the system's own formatter (GetDateFormatW) and parser (VarDateFromStr).
#include "platform/win32/win32_date_locale.h"

#include <oleauto.h>

#include "platform/win32/system_library.h"
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

// The parser's DLL is loaded only when a record's date differs from today's text (a
// log of another day, or of other date settings): most starts never need it.
bool parseWithSystem(wchar_t* text, LCID locale, SYSTEMTIME& out)
{
    using VarDateFromStrFn = HRESULT(WINAPI*)(LPCOLESTR, LCID, ULONG, DATE*);
    using VariantTimeToSystemTimeFn = INT(WINAPI*)(DOUBLE, LPSYSTEMTIME);
    const auto varDateFromStr = systemFunction<VarDateFromStrFn>(L"oleaut32.dll", "VarDateFromStr");
    const auto toSystemTime = systemFunction<VariantTimeToSystemTimeFn>(L"oleaut32.dll", "VariantTimeToSystemTime");
    if (!varDateFromStr || !toSystemTime) return false;
    DATE value = 0;
    if (FAILED(varDateFromStr(text, locale, 0, &value))) return false;
    return toSystemTime(value, &out) != 0;
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
    SYSTEMTIME t{};
    if (!parseWithSystem(wide.data(), locale_, t)) return std::nullopt;
    return startup::CivilDate{t.wYear, t.wMonth, t.wDay};
}

} // namespace kestrevane::win32
