// The start under other user locales: the record in the locale's short date and code page, the
// date label and the caption in its forms, and a log of another day still wiped.
#include <regex>

#include "product_test.h"

namespace kestrevane::e2e {
namespace {

struct LocaleCase {
    const char* name;
    LCID lcid;
    const wchar_t* unixLocale;
    // Day of the record already in the log, from today: 0 keeps it, others wipe the log.
    int recordDay;
};

void PrintTo(const LocaleCase& row, std::ostream* os) { *os << row.name; }

constexpr LCID englishUs = 0x0409, german = 0x0407, french = 0x040C, japanese = 0x0411, arabicSaudi = 0x0401,
               hebrew = 0x040D, chineseSingapore = 0x1004;

// Hebrew and Arabic are written right to left. Arabic and Singapore Chinese short dates hold
// more than ASCII and are ones the system's parser cannot read back: a log of another day
// must go all the same.
const LocaleCase localeCases[] = {
    {"EnglishUsToday", englishUs, L"en_US.UTF-8", 0},
    {"GermanToday", german, L"de_DE.UTF-8", 0},
    {"FrenchToday", french, L"fr_FR.UTF-8", 0},
    {"JapaneseToday", japanese, L"ja_JP.UTF-8", 0},
    {"HebrewToday", hebrew, L"he_IL.UTF-8", 0},
    {"ArabicToday", arabicSaudi, L"ar_SA.UTF-8", 0},
    {"ArabicYesterdayIsWiped", arabicSaudi, L"ar_SA.UTF-8", -1},
    {"ArabicTomorrowIsWiped", arabicSaudi, L"ar_SA.UTF-8", 1},
    {"ChineseSingaporeToday", chineseSingapore, L"zh_SG.UTF-8", 0},
};

std::wstring recordText(const std::wstring& date, const std::wstring& time, const std::wstring& count)
{
    return L"\"" + date + L"\",\"" + time + L"\",\"" + count + L"\"\r\n";
}

std::wstring blankedText(std::wstring text)
{
    for (wchar_t& c : text)
        if (c == L'"' || c == L',') c = L' ';
    return text;
}

std::wstring userLocaleInRegistry()
{
    wchar_t value[16] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\International", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    RegQueryValueExW(key, L"Locale", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return value;
}

// Wine writes a process's user locale into the shared registry when it differs from what is
// there; a start under this process's own locale writes it back for the tests that follow.
bool restoreUserLocale()
{
    wchar_t command[] = L"cmd.exe /c exit";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    // Without a console: a console host would be one more process writing the registry, and
    // one that may still be at it when the next test starts.
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr, &startup,
                        &info))
        return false;
    const bool ended = WaitForSingleObject(info.hProcess, 15000) == WAIT_OBJECT_0;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return ended;
}

class LocaleStart : public ProductTest, public ::testing::WithParamInterface<LocaleCase> {
protected:
    void TearDown() override
    {
        product_.reset();
        EXPECT_TRUE(restoreUserLocale()) << "could not start cmd.exe to restore the user locale";
        wchar_t own[16];
        swprintf(own, 16, L"%08x", static_cast<unsigned>(GetUserDefaultLCID()));
        EXPECT_EQ(userLocaleInRegistry(), own) << "the session's user locale was left changed";
    }
};

TEST_P(LocaleStart, RecordLabelsAndCaptionFollowTheLocale)
{
    const LocaleCase& c = GetParam();
    const UINT codePage = ansiCodePage(c.lcid);
    ASSERT_NE(codePage, 0u) << "the locale has no ANSI code page";
    const SYSTEMTIME before = today();
    const std::string seed =
        narrow(recordText(shortDate(dayOffset(before, c.recordDay), c.lcid), L"06:00:00", L"1"), codePage);
    ASSERT_TRUE(writeBytes(logPath(), seed));

    product_ = std::make_unique<Product>(exeDir(), workingDir(), UnixVariable{L"LC_ALL", c.unixLocale});
    ASSERT_TRUE(product_->started()) << "could not start the program: " << narrow(product_->startError());
    const HWND window = product_->waitForWindow(mainClass);
    ASSERT_NE(window, nullptr) << "no main window within 15 s; the program " << narrow(product_->state());
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    const SYSTEMTIME after = today();
    ASSERT_TRUE(sameDay(before, after)) << "the day changed during the test; run it again";

    const std::wstring date = shortDate(after, c.lcid);
    const std::wstring count = c.recordDay == 0 ? L"2" : L"1";
    const std::optional<std::string> log = readBytes(logPath());
    ASSERT_TRUE(log.has_value()) << "no kestrevane.kvn beside the exe";
    const std::string kept = c.recordDay == 0 ? seed : std::string();
    ASSERT_GE(log->size(), kept.size()) << ::testing::PrintToString(*log);
    EXPECT_EQ(log->substr(0, kept.size()), kept) << "the old log should stay in front of the new record";

    const std::string record = log->substr(kept.size());
    const std::wstring sep = regexEscaped(timeSeparator(c.lcid));
    const std::wregex form(L"\"" + regexEscaped(date) + L"\",\"(\\d\\d" + sep + L"\\d\\d" + sep + L"\\d\\d)\",\"" +
                           count + L"\"\r\n");
    std::wsmatch m;
    const std::wstring recordWide = widen(record, codePage);
    ASSERT_TRUE(std::regex_match(recordWide, m, form))
        << "new record " << ::testing::PrintToString(record) << ", expected the date "
        << ::testing::PrintToString(narrow(date, codePage)) << " and the count " << narrow(count)
        << " in code page " << codePage;
    EXPECT_EQ(record, narrow(recordText(date, m[1].str(), count), codePage)) << "bytes of code page " << codePage;

    EXPECT_EQ(textOf(controlOf(window, Main::lbldate)), date + L" ");
    EXPECT_EQ(textOf(controlOf(window, Main::lblNUMBER)), count + L" ");
    EXPECT_EQ(textOf(window), L"Kestrevane " + longDate(after, c.lcid));
    EXPECT_EQ(textOf(controlOf(window, Main::Text1)), blankedText(widen(*log, codePage)));

    exitWithEsc(window);
    EXPECT_EQ(readBytes(logPath()), log) << "the log changed after the window was shown";
}

INSTANTIATE_TEST_SUITE_P(Locales, LocaleStart, ::testing::ValuesIn(localeCases),
                         [](const ::testing::TestParamInfo<LocaleCase>& row) { return std::string(row.param.name); });

} // namespace
} // namespace kestrevane::e2e
