// The startup log's file operations on the wide Win32 file API.
#include "platform/win32/win32_files.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/win32/file_handle.h"
#include "platform/win32/full_path.h"
#include "platform/win32/text_convert.h"

namespace kestrevane::win32 {

namespace {

bool startsWith(const std::wstring& text, std::wstring_view prefix) { return text.rfind(prefix, 0) == 0; }

// Paths of MAX_PATH characters or more only work in the extended-length form, which
// the system takes literally: so the path is made absolute and canonical first.
std::wstring filePath(const std::string& utf8)
{
    std::wstring path = widen(utf8);
    if (path.size() < MAX_PATH || startsWith(path, L"\\\\?\\") || startsWith(path, L"\\\\.\\")) return path;
    const std::wstring full = fullPathName(path);
    if (startsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    if (full.size() > 2 && full[1] == L':' && full[2] == L'\\') return L"\\\\?\\" + full;
    return path;
}

// Called right after the failing call, before anything can overwrite the error code.
[[noreturn]] void fail(const char* operation, const std::string& path, DWORD code = GetLastError())
{
    const bool denied = code == ERROR_ACCESS_DENIED || code == ERROR_WRITE_PROTECT;
    throw startup::FileError(operation, path, systemErrorText(code),
                             denied ? startup::FileError::Cause::accessDenied : startup::FileError::Cause::other);
}

// A virus scanner or an indexer may hold the log for a moment, and at boot many
// of them run: so an operation the sharing rules refuse is tried again for a while.
// Right after the file was deleted, so is a refusal of access: while another program
// still holds it open, the deleted file keeps its name, and opening that fails with
// ERROR_ACCESS_DENIED (Windows XP to 10 1809, and later on FAT32, exFAT and shares).
template <typename Operation>
auto retryWhileHeld(Operation operation, bool justDeleted = false)
{
    constexpr int attempts = 40;
    constexpr DWORD pauseMs = 50;
    for (int i = 1;; ++i) {
        auto result = operation();
        const DWORD code = GetLastError();
        const bool held = code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION ||
                          (justDeleted && code == ERROR_ACCESS_DENIED);
        if (result || i == attempts || !held) return result;
        Sleep(pauseMs);
        SetLastError(code);
    }
}

HANDLE openFile(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags,
                bool justDeleted = false)
{
    const std::wstring wide = filePath(path);
    HANDLE h = INVALID_HANDLE_VALUE;
    retryWhileHeld(
        [&] {
            h = CreateFileW(wide.c_str(), access, share, nullptr, disposition, flags, nullptr);
            return h != INVALID_HANDLE_VALUE;
        },
        justDeleted);
    return h;
}

// Others may read, write or delete the log meanwhile; a directory fails to open.
HANDLE openForReading(const std::string& path)
{
    return openFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL);
}

} // namespace

std::string systemErrorText(unsigned long code)
{
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = n && buffer ? narrow(std::wstring_view(buffer, n)) : std::string();
    if (buffer) LocalFree(buffer);
    // Messages end in ".\r\n" (sometimes ". \r\n"); the caller adds its own punctuation.
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    return text.empty() ? "system error " + std::to_string(code) : text;
}

bool Win32Files::canOpenForReading(const std::string& path)
{
    return FileHandle(openForReading(path)).valid();
}

startup::FileTail Win32Files::readTail(const std::string& path, std::size_t maxBytes)
{
    FileHandle file(openForReading(path));
    if (!file.valid()) fail("open", path);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) fail("read", path);
    startup::FileTail tail;
    const auto fileSize = static_cast<std::uint64_t>(size.QuadPart);
    tail.offset = fileSize > maxBytes ? fileSize - maxBytes : 0;
    LARGE_INTEGER from{};
    from.QuadPart = static_cast<LONGLONG>(tail.offset);
    if (!SetFilePointerEx(file.get(), from, nullptr, FILE_BEGIN)) fail("read", path);
    // Read to the true end, within the limit: the file may shrink meanwhile, or grow.
    tail.bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(fileSize - tail.offset, maxBytes)));
    std::size_t filled = 0;
    while (filled < maxBytes) {
        if (filled == tail.bytes.size()) tail.bytes.resize(std::min(maxBytes, filled + 4096));
        const std::size_t room = std::min<std::size_t>(tail.bytes.size() - filled, 1u << 20);
        DWORD got = 0;
        if (!ReadFile(file.get(), tail.bytes.data() + filled, static_cast<DWORD>(room), &got, nullptr))
            fail("read", path);
        if (got == 0) break;
        filled += got;
    }
    tail.bytes.resize(filled);
    return tail;
}

void Win32Files::append(const std::string& path, const std::string& bytes)
{
    if (bytes.size() > MAXDWORD) fail("write", path, ERROR_INVALID_PARAMETER);
    // Only right after this file's delete may a refusal of access pass: a read-only log
    // must fail at once.
    const bool justDeleted = removed_ == path;
    removed_.clear();
    // Readers may look on; no other writer may come between the end found and the write.
    FileHandle file(openFile(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, justDeleted));
    if (!file.valid()) fail("open", path);
    LARGE_INTEGER end{};
    if (!SetFilePointerEx(file.get(), LARGE_INTEGER{}, &end, FILE_END)) fail("open", path);
    // One write of the whole record: a power cut must not leave half of it. A write that
    // fails midway (a full disk) is cut back, so the log keeps only whole records.
    DWORD written = 0;
    DWORD code = ERROR_SUCCESS;
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        code = GetLastError();
    else if (written != bytes.size())
        code = ERROR_DISK_FULL;
    if (code != ERROR_SUCCESS) {
        if (SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN)) SetEndOfFile(file.get());
        fail("write", path, code);
    }
}

void Win32Files::flush(const std::string& path)
{
    // The system flushes the file's data, whichever handle wrote it.
    FileHandle file(openFile(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    if (!file.valid() || !FlushFileBuffers(file.get())) fail("flush", path);
}

void Win32Files::remove(const std::string& path)
{
    const std::wstring wide = filePath(path);
    if (!retryWhileHeld([&] { return DeleteFileW(wide.c_str()); })) fail("delete", path);
    removed_ = path;
}

} // namespace kestrevane::win32
