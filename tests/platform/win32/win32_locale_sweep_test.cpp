// Every locale the system lists: a start keeps a log of today and wipes one of yesterday or tomorrow.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <exception>
#include <set>
#include <string>
#include <vector>

#include "fake_services.h"
#include "platform/win32/text_convert.h"
#include "platform/win32/win32_services.h"
#include "startup/start_up.h"
#include "startup/startup_log.h"

namespace kestrevane::win32 {
namespace {

using startup::CivilDate;

// Vista's, bound by name as the program binds what XP lacks.
using EnumSystemLocalesExFn = decltype(&::EnumSystemLocalesEx);
using LocaleNameToLcidFn = decltype(&::LocaleNameToLCID);
constexpr DWORD localeAll = 0;
constexpr LCID noLcidOfItsOwn = 0x1000; // LOCALE_CUSTOM_UNSPECIFIED

struct ListedLocale {
    std::string name;
    LCID lcid;
};

BOOL CALLBACK collectName(LPWSTR name, DWORD, LPARAM list)
{
    reinterpret_cast<std::vector<std::wstring>*>(list)->push_back(name);
    return TRUE;
}

std::vector<ListedLocale> listedLocales()
{
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto enumerate =
        reinterpret_cast<EnumSystemLocalesExFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "EnumSystemLocalesEx")));
    const auto toLcid =
        reinterpret_cast<LocaleNameToLcidFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "LocaleNameToLCID")));
    if (!enumerate || !toLcid) return {};
    std::vector<std::wstring> names;
    if (!enumerate(collectName, localeAll, reinterpret_cast<LPARAM>(&names), nullptr)) return {};
    std::vector<ListedLocale> locales;
    for (const std::wstring& name : names) locales.push_back({narrow(name), toLcid(name.c_str(), 0)});
    return locales;
}

CivilDate plusDays(const CivilDate& date, int days)
{
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(date.year);
    t.wMonth = static_cast<WORD>(date.month);
    t.wDay = static_cast<WORD>(date.day);
    t.wHour = 12;
    FILETIME file;
    SystemTimeToFileTime(&t, &file);
    ULARGE_INTEGER ticks;
    ticks.LowPart = file.dwLowDateTime;
    ticks.HighPart = file.dwHighDateTime;
    ticks.QuadPart += static_cast<ULONGLONG>(static_cast<LONGLONG>(days) * 24 * 3600 * 10000000LL);
    file.dwLowDateTime = ticks.LowPart;
    file.dwHighDateTime = ticks.HighPart;
    FileTimeToSystemTime(&file, &t);
    return {t.wYear, t.wMonth, t.wDay};
}

std::string show(const CivilDate& d)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

// The log's bytes in a given code page, as for a user whose system runs on that page.
class CodePageCodec final : public startup::TextCodec {
public:
    explicit CodePageCodec(UINT codePage) : codePage_(codePage) {}
    std::string encode(const std::string& utf8) override { return utf8ToAnsi(utf8, codePage_); }
    std::string decode(const std::string& bytes) override { return ansiToUtf8(bytes, codePage_); }

private:
    UINT codePage_;
};

UINT ansiCodePageOf(LCID lcid)
{
    DWORD page = 0;
    const int n = GetLocaleInfoW(lcid, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                                 reinterpret_cast<LPWSTR>(&page), sizeof page / sizeof(wchar_t));
    return n > 0 ? page : 0;
}

// Today, and days whose neighbours cross a month, a year or a leap day, or whose day and
// month read the other way round are another valid date.
std::vector<CivilDate> stressDays()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {{now.wYear, now.wMonth, now.wDay}, {2026, 12, 1}, {2026, 1, 12}, {2026, 12, 31}, {2028, 2, 29}};
}

// One start on `today` over a log whose last record was written `offset` days away from it;
// empty when the program did the right thing, else what it did.
std::string startOver(Win32DateLocale& locale, startup::TextCodec& codec, const CivilDate& today, int offset)
{
    const std::string dir = "C:\\Kv";
    const std::string path = dir + "\\kestrevane.kvn";
    const CivilDate recordDay = plusDays(today, offset);
    const std::string seed =
        startup::formatRecordLine({codec.encode(locale.shortDate(recordDay)), codec.encode("06:00:00"), "4"});

    testing::FakeClock clock({today, 7, 41, 9});
    testing::MemoryFileSystem files;
    files.files[path] = seed;
    startup::StartUpServices services{clock, locale, files, codec, dir};
    startup::StartupResult result;
    try {
        result = startup::updateStartupLog(services);
    } catch (const std::exception& e) {
        return std::string("threw ") + e.what();
    }

    const bool keep = offset == 0;
    const std::string expectedCount = keep ? "5" : "1";
    const std::string newLine = startup::formatRecordLine(
        {codec.encode(result.dateText), codec.encode(result.timeText), expectedCount});
    const std::string expectedLog = (keep ? seed : std::string()) + newLine;
    if (result.countText == expectedCount && files.files[path] == expectedLog) return {};
    return "record of " + show(recordDay) + " \"" + locale.shortDate(recordDay) + "\" on " + show(today) +
           ": count " + result.countText + ", expected " + expectedCount + (keep ? " (kept)" : " (wiped)");
}

// The parser reads the locale's own short date of every stress day as that day.
bool roundTrips(Win32DateLocale& locale, const std::vector<CivilDate>& days)
{
    for (const CivilDate& day : days)
        if (locale.parseDate(locale.shortDate(day)) != day) return false;
    return true;
}

TEST(LocaleSweep, EveryListedLocaleKeepsTodaysLogAndWipesOthers)
{
    const std::vector<ListedLocale> locales = listedLocales();
    ASSERT_FALSE(locales.empty()) << "EnumSystemLocalesEx listed no locale";
    const std::vector<CivilDate> days = stressDays();

    // Counts over all listed locales, and over those with an LCID of their own.
    int roundTrip[2] = {}, handled[2] = {}, listedCount[2] = {};
    std::set<LCID> distinct;
    std::string notRoundTrip;
    std::vector<std::string> mishandled;

    for (const ListedLocale& listed : locales) {
        const int own = listed.lcid != noLcidOfItsOwn ? 1 : 0;
        ++listedCount[0];
        listedCount[1] += own;
        if (own) distinct.insert(listed.lcid);
        Win32DateLocale locale(listed.lcid);
        if (roundTrips(locale, days)) {
            ++roundTrip[0];
            roundTrip[1] += own;
        } else {
            notRoundTrip += " " + listed.name;
        }

        // The program's own code page, and the one a user of this locale would run on.
        const UINT page = ansiCodePageOf(listed.lcid);
        Win32TextCodec systemCodec;
        CodePageCodec localeCodec(page);
        std::vector<startup::TextCodec*> codecs{&systemCodec};
        if (page != 0 && page != GetACP()) codecs.push_back(&localeCodec);

        std::string fault;
        for (startup::TextCodec* codec : codecs)
            for (const CivilDate& day : days)
                for (const int offset : {0, -1, 1})
                    if (fault.empty()) fault = startOver(locale, *codec, day, offset);
        if (fault.empty()) {
            ++handled[0];
            handled[1] += own;
        } else {
            mishandled.push_back(listed.name + ": " + fault);
        }
    }

    std::printf("locale sweep: %d locales listed, %d with an LCID of their own (%zu distinct); the LCID calls "
                "answer for the other %d with the user's locale\n",
                listedCount[0], listedCount[1], distinct.size(), listedCount[0] - listedCount[1]);
    std::printf("locale sweep: round-trip through the parser: %d of %d (%d of %d with an LCID); not:%s\n",
                roundTrip[0], listedCount[0], roundTrip[1], listedCount[1], notRoundTrip.c_str());
    std::printf("locale sweep: handled correctly by the start-up: %d of %d (%d of %d with an LCID)\n", handled[0],
                listedCount[0], handled[1], listedCount[1]);
    std::fflush(stdout);

    std::string list;
    for (const std::string& line : mishandled) list += "\n  " + line;
    EXPECT_TRUE(mishandled.empty()) << mishandled.size() << " locales mishandled:" << list;
}

} // namespace
} // namespace kestrevane::win32
