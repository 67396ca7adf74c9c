// Logs of millions of records and of several GiB: the start costs the same, the window
// comes and answers, and the text box holds only the log's last lines under a note.
#include <functional>

#include "product_test.h"

namespace kestrevane::e2e {
namespace {

constexpr std::size_t shownCap = 64 * 1024;
constexpr wchar_t noteLine[] = L"Earlier records are not shown here. The whole log is kestrevane.kvn beside the program.\r\n";

std::uint64_t fileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The last `count` bytes of a file, without reading the rest.
std::string tailOf(const std::wstring& path, std::size_t count)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    LARGE_INTEGER size{}, from{};
    GetFileSizeEx(file, &size);
    from.QuadPart = size.QuadPart > static_cast<LONGLONG>(count) ? size.QuadPart - static_cast<LONGLONG>(count) : 0;
    SetFilePointerEx(file, from, nullptr, FILE_BEGIN);
    std::string bytes(static_cast<std::size_t>(size.QuadPart - from.QuadPart), '\0');
    DWORD got = 0;
    const BOOL ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    bytes.resize(ok ? got : 0);
    return bytes;
}

// `zeros` bytes that take no room on disk, then `end`.
bool writeSparse(const std::wstring& path, std::uint64_t zeros, const std::string& end)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(zeros);
    DWORD written = 0;
    const bool ok = SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file) &&
                    WriteFile(file, end.data(), static_cast<DWORD>(end.size()), &written, nullptr) &&
                    written == end.size();
    CloseHandle(file);
    return ok;
}

struct LargeCase {
    const char* name;
    // Writes the log for today; gives its size.
    std::function<bool(const std::wstring& path, const SYSTEMTIME& today)> write;
    const wchar_t* count;
    bool wiped;
    bool fillsTheBox = false; // the log's end has lines enough for the whole 64 KiB
};

void PrintTo(const LargeCase& row, std::ostream* os) { *os << row.name; }

std::string records(const SYSTEMTIME& day, int from, int to)
{
    std::string text;
    for (int i = from; i <= to; ++i) text += recordLine(shortDate(day), L"06:00:00", std::to_wstring(i).c_str());
    return text;
}

const LargeCase largeCases[] = {
    {"FourGiBSparseEndingToday",
     [](const std::wstring& path, const SYSTEMTIME& d) { return writeSparse(path, 4ULL << 30, "\r\n" + records(d, 40, 41)); },
     L"42", false},
    {"SixGiBSparseEndingYesterday",
     [](const std::wstring& path, const SYSTEMTIME& d) {
         return writeSparse(path, 6ULL << 30, "\r\n" + records(dayOffset(d, -1), 1, 3));
     },
     L"1", true},
    {"ThreeMillionRecordsOfToday",
     [](const std::wstring& path, const SYSTEMTIME& d) {
         const std::string line = recordLine(shortDate(d), L"06:00:00", L"1");
         std::string block;
         for (int i = 0; i < 10000; ++i) block += line;
         const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
         if (file == INVALID_HANDLE_VALUE) return false;
         bool ok = true;
         for (int i = 0; ok && i < 300; ++i) {
             DWORD written = 0;
             ok = WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr) &&
                  written == block.size();
         }
         const std::string last = recordLine(shortDate(d), L"06:00:01", L"3000000");
         DWORD written = 0;
         ok = ok && WriteFile(file, last.data(), static_cast<DWORD>(last.size()), &written, nullptr);
         CloseHandle(file);
         return ok;
     },
     L"3000001", false, true},
};

class LargeLog : public ProductTest, public ::testing::WithParamInterface<LargeCase> {};

TEST_P(LargeLog, StartsPromptlyCountsOnAndShowsOnlyTheLastLines)
{
    const LargeCase& c = GetParam();
    const SYSTEMTIME day = today();
    ASSERT_TRUE(c.write(logPath(), day)) << "could not write the log";
    const std::uint64_t before = fileSize(logPath());
    const std::string beforeEnd = tailOf(logPath(), 256);

    const HWND window = startToMainWindow();
    ASSERT_NE(window, nullptr);
    DWORD_PTR ignored = 0;
    EXPECT_TRUE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored))
        << "the window does not answer";
    EXPECT_EQ(textOf(controlOf(window, Main::lblNUMBER)), std::wstring(c.count) + L" ");

    const std::string record = recordLine(shortDate(day), L"", c.count);
    const std::string end = tailOf(logPath(), 256);
    if (c.wiped) {
        EXPECT_LT(fileSize(logPath()), 100u) << "the old day's log should be gone";
    } else {
        const std::uint64_t after = fileSize(logPath());
        ASSERT_GT(after, before);
        const std::size_t added = static_cast<std::size_t>(after - before);
        EXPECT_EQ(added, record.size() + 8) << "one record with an 8-character time added";
        EXPECT_EQ(end.substr(0, end.size() - added), beforeEnd.substr(added)) << "the old log's end is untouched";
        EXPECT_TRUE(end.ends_with("\"" + narrow(c.count) + "\"\r\n")) << ::testing::PrintToString(end.substr(end.size() - added));
    }

    const std::wstring shown = textOf(controlOf(window, Main::Text1));
    if (c.wiped) {
        EXPECT_EQ(shown, blanked(end));
    } else {
        ASSERT_EQ(shown.substr(0, wcslen(noteLine)), noteLine);
        const std::wstring lines = shown.substr(wcslen(noteLine));
        EXPECT_LE(lines.size(), shownCap);
        if (c.fillsTheBox) {
            EXPECT_GT(lines.size(), shownCap - 200) << "the text box should fill its 64 KiB";
        }
        const std::string logEnd = tailOf(logPath(), lines.size() + 1);
        EXPECT_EQ(logEnd.front(), '\n') << "the text box starts at a line";
        EXPECT_TRUE(lines == blanked(logEnd.substr(1))) << "the text box shows the log's last lines";
    }
    exitWithEsc(window);
}

INSTANTIATE_TEST_SUITE_P(Logs, LargeLog, ::testing::ValuesIn(largeCases),
                         [](const ::testing::TestParamInfo<LargeCase>& row) { return std::string(row.param.name); });

} // namespace
} // namespace kestrevane::e2e
