#include "platform/win32/win32_log_lock.h"

#include <cstdint>

#include "platform/win32/full_path.h"
#include "platform/win32/text_convert.h"

namespace kestrevane::win32 {

namespace {

// Longer than any read-decide-append takes, short enough that a hung start cannot
// keep the others from counting.
constexpr DWORD waitLimitMs = 10000;

} // namespace

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
