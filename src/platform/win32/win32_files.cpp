#include "platform/win32/win32_files.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>

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

// Longer than any read-decide-append takes, short enough that a hung start cannot
// keep the others from counting.
constexpr DWORD waitLimitMs = 10000;

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

std::string executableDirectory()
{
    // No path is longer than 32767 characters; past that the loop would never end.
    constexpr std::size_t longestPath = 32768;
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return ".";
        // A path that does not fit comes back cut to the buffer's size (on XP without a NUL).
        if (n < path.size() || path.size() >= longestPath) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return ".";
    return narrow(std::wstring_view(path).substr(0, slash));
}

std::wstring fullPathName(const std::wstring& path)
{
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::wstring full(needed, L'\0');
    const DWORD n = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (n == 0 || n >= needed) return path;
    full.resize(n);
    return full;
}

std::wstring longPathName(const std::wstring& path)
{
    const DWORD needed = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) return path;
    std::wstring spelt(needed, L'\0');
    const DWORD n = GetLongPathNameW(path.c_str(), spelt.data(), needed);
    if (n == 0 || n >= needed) return path;
    spelt.resize(n);
    return spelt;
}

std::wstring logLockName(const std::string& logPath)
{
    // Mutex names cannot hold backslashes and are limited in length, so the path is
    // hashed (FNV-1a), after the case folding file names get.
    std::wstring path = fullPathName(widen(logPath));
    // A short (8.3) spelling of the folder, such as C:\PROGRA~1, names the same log. The
    // folder's long name is asked for: the log itself may not exist yet.
    const std::size_t folderEnd = path.find_last_of(L'\\') + 1;
    path = longPathName(path.substr(0, folderEnd)) + path.substr(folderEnd);
    if (!path.empty()) CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    std::uint64_t hash = 14695981039346656037ull;
    for (const wchar_t c : path) {
        hash ^= static_cast<std::uint16_t>(c);
        hash *= 1099511628211ull;
    }
    wchar_t hex[17];
    for (int i = 15; i >= 0; --i, hash >>= 4) hex[i] = L"0123456789abcdef"[hash & 15];
    hex[16] = L'\0';
    return std::wstring(L"Kestrevane.log.") + hex;
}

Win32LogLock::~Win32LogLock()
{
    release();
    if (mutex_) CloseHandle(mutex_);
}

void Win32LogLock::acquire(const std::string& logPath)
{
    if (held_) return;
    const std::wstring name = logLockName(logPath);
    // Global, so starts in other sessions on a shared folder wait too; where that
    // namespace is closed to this user, the session's own still orders its starts.
    mutex_ = CreateMutexW(nullptr, FALSE, (L"Global\\" + name).c_str());
    if (!mutex_) mutex_ = CreateMutexW(nullptr, FALSE, (L"Local\\" + name).c_str());
    if (!mutex_) return;
    const DWORD got = WaitForSingleObject(mutex_, waitLimitMs);
    // Abandoned: a start died while holding it; the log's torn line is handled.
    held_ = got == WAIT_OBJECT_0 || got == WAIT_ABANDONED;
}

void Win32LogLock::release()
{
    if (held_) ReleaseMutex(mutex_);
    held_ = false;
}

} // namespace kestrevane::win32
