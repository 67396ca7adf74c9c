#include "platform/win32/win32_services.h"

#include <algorithm>

#include "platform/win32/system_functions.h"
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
    const auto varDateFromStr = system::VarDateFromStr.find();
    const auto toSystemTime = system::VariantTimeToSystemTime.find();
    if (!varDateFromStr || !toSystemTime) return false;
    DATE value = 0;
    if (FAILED(varDateFromStr(text, locale, 0, &value))) return false;
    return toSystemTime(value, &out) != 0;
}

static_assert(sizeof(OSVERSIONINFOA) == 148, "the ANSI version record is 148 bytes");

using NameQuery = BOOL(WINAPI*)(LPWSTR, LPDWORD);

// The wide calls: through the ANSI code page a name outside it would come back as
// question marks or look-alikes.
std::string queryName(NameQuery query, const std::string& buffer, std::uint32_t size)
{
    std::wstring wide = widen(buffer);
    // The size is passed as given, but never so large that the system could write past the buffer.
    DWORD length = std::min<DWORD>(size, static_cast<DWORD>(wide.size()));
    // The result is not consulted: on failure the buffer comes back as it went.
    query(wide.data(), &length);
    return narrow(wide);
}

} // namespace

startup::LocalDateTime Win32Clock::now()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {{t.wYear, t.wMonth, t.wDay}, t.wHour, t.wMinute, t.wSecond};
}

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

std::string Win32TextCodec::encode(const std::string& utf8) { return utf8ToAnsi(utf8); }
std::string Win32TextCodec::decode(const std::string& bytes) { return ansiToUtf8(bytes); }

std::uint64_t Win32SystemQuery::millisecondsSinceStart() { return tickCount64(); }

sysinfo::VersionQueryResult Win32SystemQuery::queryVersion()
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = 148;
    sysinfo::VersionQueryResult result;
    result.returned = GetVersionExA(&info);
    if (result.returned) {
        result.record.majorVersion = static_cast<std::int32_t>(info.dwMajorVersion);
        result.record.minorVersion = static_cast<std::int32_t>(info.dwMinorVersion);
        result.record.buildNumber = static_cast<std::int32_t>(info.dwBuildNumber);
        result.record.platformId = static_cast<std::int32_t>(info.dwPlatformId);
    }
    // All 128 bytes, NULs included: cutting at the first NUL is the caller's business.
    result.record.servicePack = ansiToUtf8(std::string_view(info.szCSDVersion, sizeof info.szCSDVersion));
    return result;
}

std::string Win32SystemQuery::queryComputerName(const std::string& buffer, std::uint32_t size)
{
    return queryName(GetComputerNameW, buffer, size);
}

std::string Win32SystemQuery::queryUserName(const std::string& buffer, std::uint32_t size)
{
    return queryName(GetUserNameW, buffer, size);
}

bool Win32Appearance::highContrast()
{
    HIGHCONTRASTW settings{};
    settings.cbSize = sizeof settings;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof settings, &settings, 0) &&
           (settings.dwFlags & HCF_HIGHCONTRASTON);
}

} // namespace kestrevane::win32
