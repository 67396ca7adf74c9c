#include "launcher_log.h"

#include "platform/win32/win32_files.h"

#include <winioctl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <stdexcept>

namespace kestrevane::bench {

namespace {

constexpr std::uint64_t sparseZeros = 4ull << 30;

using Handle = win32::FileHandle;


std::string narrow(const std::wstring& path)
{
    const int n = WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(n, 1)), '\0');
    WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, out.data(), n, nullptr, nullptr);
    out.pop_back();
    return out;
}

[[noreturn]] void fail(const std::string& what, const std::wstring& path)
{
    throw std::runtime_error(what + " " + narrow(path) + " (error " + std::to_string(GetLastError()) + ")");
}

void writeAll(HANDLE file, const std::string& bytes, const std::wstring& path)
{
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        fail("cannot write", path);
}

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

std::string todayDate()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t date[128] = L"";
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, date, 128);
    return narrow(date);
}

LogContent LogContent::parse(const std::wstring& text)
{
    LogContent content;
    if (text == L"none") return content;
    const bool sparse = text.rfind(L"sparse:", 0) == 0;
    const std::wstring number = sparse ? text.substr(7) : text;
    wchar_t* end = nullptr;
    content.records = std::wcstol(number.c_str(), &end, 10);
    if (number.empty() || *end != L'\0' || content.records < 0)
        throw std::invalid_argument("bad log: expected none, N or sparse:N");
    content.kind = sparse ? Kind::sparse : Kind::records;
    return content;
}

std::string LogContent::describe() const
{
    switch (kind) {
    case Kind::none:
        return "none";
    case Kind::records:
        return std::to_string(records) + " records";
    case Kind::sparse:
        return "4 GiB sparse zeros, CR LF, " + std::to_string(records) + " records";
    }
    return "";
}

LauncherLog::LauncherLog(const std::wstring& directory, LogContent content)
    : path_(directory + L"\\kestrevane.kvn"), content_(content)
{
}

void LauncherLog::write()
{
    if (content_.kind == LogContent::Kind::none) return;
    Handle file(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) fail("cannot create", path_);
    if (content_.kind == LogContent::Kind::sparse) {
        // Windows needs the flag or it allocates the zeros; Wine's ftruncate leaves a hole anyway.
        DWORD unused = 0;
        DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &unused, nullptr);
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(sparseZeros);
        if (!SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) || !SetEndOfFile(file.get()))
            fail("cannot extend", path_);
        writeAll(file.get(), "\r\n", path_);
    }

    SYSTEMTIME now;
    GetLocalTime(&now);
    char time[16];
    std::snprintf(time, sizeof time, "%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
    const std::string head = "\"" + todayDate() + "\",\"" + time + "\",\"";
    std::string chunk;
    for (long i = 1; i <= content_.records; ++i) {
        chunk += head + std::to_string(i) + "\"\r\n";
        if (chunk.size() >= (1u << 20)) {
            writeAll(file.get(), chunk, path_);
            chunk.clear();
        }
    }
    writeAll(file.get(), chunk, path_);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) fail("cannot size", path_);
    size_ = static_cast<std::uint64_t>(size.QuadPart);
}

std::wstring LauncherLog::checkAndCutBack()
{
    if (content_.kind == LogContent::Kind::none) return L"";
    Handle file(CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return L"the log is gone or locked (error " + std::to_wstring(GetLastError()) + L")";
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return L"cannot size the log";
    const auto now = static_cast<std::uint64_t>(size.QuadPart);
    if (now < size_)
        return L"the log shrank from " + std::to_wstring(size_) + L" to " + std::to_wstring(now) +
               L" bytes (wiped as another day's, e.g. across midnight?)";
    if (now == size_) return L"no record appended";
    if (now - size_ > 256) return L"appended " + std::to_wstring(now - size_) + L" bytes, more than one record";

    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size_);
    std::string added(static_cast<std::size_t>(now - size_), '\0');
    DWORD got = 0;
    if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) ||
        !ReadFile(file.get(), added.data(), static_cast<DWORD>(added.size()), &got, nullptr) || got != added.size())
        return L"cannot read the appended record";

    std::wstring problem;
    const std::string count = std::to_string(content_.records + 1);
    if (added.rfind("\"" + todayDate() + "\",\"", 0) != 0 || !endsWith(added, "\",\"" + count + "\"\r\n") ||
        added.find('\n') != added.size() - 1) {
        // On one line: the report is read line by line.
        std::wstring shown;
        for (const char c : added)
            shown += c == '\r' ? L"\\r" : c == '\n' ? L"\\n" : std::wstring(1, static_cast<unsigned char>(c));
        problem = L"appended [" + shown + L"], expected one record of today counting " +
                  std::wstring(count.begin(), count.end());
    }
    if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) || !SetEndOfFile(file.get()))
        return L"cannot cut the log back (error " + std::to_wstring(GetLastError()) + L")";
    return problem;
}

} // namespace kestrevane::bench
