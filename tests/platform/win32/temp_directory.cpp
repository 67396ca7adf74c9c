// Fresh per-test directories under the system's temp folder, and their clean-up.
#include "temp_directory.h"

#include <windows.h>

#include <stdexcept>

#include "platform/win32/text_convert.h"

namespace kestrevane::win32::testing {

namespace {

[[noreturn]] void setUpFailed(const char* what, const std::wstring& path)
{
    throw std::runtime_error(std::string("test set-up: ") + what + " failed for " + narrow(path) +
                             " (error " + std::to_string(GetLastError()) + ")");
}

void removeTree(const std::wstring& dir)
{
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = dir + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryW(dir.c_str());
}

} // namespace

std::wstring extendedPath(const std::string& path) { return L"\\\\?\\" + widen(path); }

void makeDirectories(const std::string& path)
{
    std::size_t next = path.find('\\', 3); // past "C:\"
    for (;;) {
        const std::string part = path.substr(0, next);
        const std::wstring wide = extendedPath(part);
        if (!CreateDirectoryW(wide.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
            setUpFailed("CreateDirectoryW", wide);
        if (next == std::string::npos) return;
        next = path.find('\\', next + 1);
    }
}

TempDirectory::TempDirectory()
{
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) setUpFailed("GetTempPathW", L"");
    // The temp path may be short (8.3) or relative to nothing; make it whole and long.
    wchar_t full[MAX_PATH + 1];
    const DWORD m = GetLongPathNameW(temp, full, MAX_PATH + 1);
    std::wstring base = m > 0 && m <= MAX_PATH ? std::wstring(full, m) : std::wstring(temp, n);
    while (!base.empty() && base.back() == L'\\') base.pop_back();
    static unsigned serial = 0;
    const std::wstring dir = base + L"\\kestrevane-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                             std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++serial);
    if (!CreateDirectoryW(dir.c_str(), nullptr)) setUpFailed("CreateDirectoryW", dir);
    path_ = narrow(dir);
}

TempDirectory::~TempDirectory() { removeTree(extendedPath(path_)); }

} // namespace kestrevane::win32::testing
