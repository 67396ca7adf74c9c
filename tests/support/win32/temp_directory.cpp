// Fresh per-test folders under the system's temp folder, and their clean-up.
#include "temp_directory.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <stdexcept>

namespace kestrevane::testing {

namespace {

// GoogleTest's message writes wide text as UTF-8: no converter of the product's is needed.
std::string utf8(const std::wstring& text) { return (::testing::Message() << text).GetString(); }

[[noreturn]] void setUpFailed(const char* what, const std::wstring& path)
{
    const DWORD error = GetLastError();
    throw std::runtime_error(std::string("test set-up: ") + what + " failed for " + utf8(path) + " (error " +
                             std::to_string(error) + ")");
}

// The temp folder, whole and long: it may be given short (8.3), and ends in a backslash.
std::wstring tempFolder()
{
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) setUpFailed("GetTempPathW", L"");
    wchar_t full[MAX_PATH + 1];
    const DWORD m = GetLongPathNameW(temp, full, MAX_PATH + 1);
    std::wstring base = m > 0 && m <= MAX_PATH ? std::wstring(full, m) : std::wstring(temp, n);
    while (!base.empty() && base.back() == L'\\') base.pop_back();
    return base;
}

void removeTree(const std::wstring& dir)
{
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = dir + L"\\" + name;
            // Read-only files and folders cannot be deleted.
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

TempDirectory::TempDirectory(std::wstring prefix, OnFailure onFailure) : onFailure_(onFailure)
{
    static std::atomic<unsigned> serial{0};
    const std::wstring base = tempFolder() + L"\\" + prefix + std::to_wstring(GetCurrentProcessId()) + L"-";
    // A folder that an earlier run kept may have the same name.
    for (;;) {
        path_ = base + std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++serial);
        if (CreateDirectoryW(path_.c_str(), nullptr)) return;
        if (GetLastError() != ERROR_ALREADY_EXISTS) setUpFailed("CreateDirectoryW", path_);
    }
}

TempDirectory::~TempDirectory()
{
    if (onFailure_ == OnFailure::keep && ::testing::Test::HasFailure()) {
        std::fprintf(stderr, "kept %s\n", utf8(path_).c_str());
        std::fflush(stderr);
        return;
    }
    // Tests make paths inside that are longer than MAX_PATH.
    removeTree(L"\\\\?\\" + path_);
}

} // namespace kestrevane::testing
