#include "wine_read_bytes.h"

#include <windows.h>

#include <cstdlib>
#include <cwctype>

namespace kestrevane::bench {

namespace {

// Wine shows the whole root under Z: in a fresh prefix.
constexpr wchar_t procRoot[] = L"Z:\\proc\\";

// procfs files report no size: read until the end.
std::string readSmallFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (bytes.size() < 65536 && ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool samePath(const std::string& argv0, const std::wstring& exe)
{
    std::string name = argv0;
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
    if (name.size() != exe.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::towlower(static_cast<unsigned char>(name[i])) != std::towlower(exe[i])) return false;
    return true;
}

bool allDigits(const wchar_t* text)
{
    if (!*text) return false;
    for (; *text; ++text)
        if (!std::iswdigit(*text)) return false;
    return true;
}

} // namespace

bool underWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

long long wineReadBytes(const std::wstring& exe)
{
    if (!underWine()) return -1;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((std::wstring(procRoot) + L"*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return -1;
    std::wstring match;
    int matches = 0;
    do {
        if (!allDigits(entry.cFileName)) continue;
        const std::wstring dir = std::wstring(procRoot) + entry.cFileName;
        // Wine puts the Windows command line into argv, NUL-separated.
        const std::string cmdline = readSmallFile(dir + L"\\cmdline");
        if (samePath(cmdline.substr(0, cmdline.find('\0')), exe)) {
            match = dir;
            ++matches;
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    // Two at once would make the figure ambiguous; the launcher runs one at a time.
    if (matches != 1) return -1;

    const std::string io = readSmallFile(match + L"\\io");
    const std::size_t at = io.find("rchar: ");
    if (at == std::string::npos) return -1;
    return std::strtoll(io.c_str() + at + 7, nullptr, 10);
}

} // namespace kestrevane::bench
