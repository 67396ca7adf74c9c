#include "platform/win32/win32_files.h"

#include <windows.h>

#include "platform/win32/text_convert.h"

namespace kestrevane::win32 {

namespace {

// Paths of MAX_PATH or more need the extended-length prefix.
std::wstring filePath(const std::string& utf8)
{
    std::wstring path = widen(utf8);
    if (path.size() < MAX_PATH || path.rfind(L"\\\\?\\", 0) == 0) return path;
    if (path.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + path.substr(2);
    if (path.size() > 2 && path[1] == L':') return L"\\\\?\\" + path;
    return path;
}

[[noreturn]] void fail(const char* operation, const std::string& path)
{
    throw startup::FileError(operation, path, systemErrorText(GetLastError()));
}

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    ~Handle()
    {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    }
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

HANDLE openForReading(const std::string& path)
{
    return CreateFileW(filePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

} // namespace

std::string systemErrorText(unsigned long code)
{
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = n ? narrow(std::wstring_view(buffer, n)) : "error " + std::to_string(code);
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return text;
}

bool Win32Files::canOpenForReading(const std::string& path)
{
    return Handle(openForReading(path)).valid();
}

std::string Win32Files::readAll(const std::string& path)
{
    Handle file(openForReading(path));
    if (!file.valid()) fail("open", path);
    LARGE_INTEGER size{};
    std::string bytes;
    if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0) bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    // Read to the true end: the size is only a hint.
    char chunk[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) fail("read", path);
        if (got == 0) break;
        bytes.append(chunk, got);
    }
    return bytes;
}

void Win32Files::append(const std::string& path, const std::string& bytes)
{
    Handle file(CreateFileW(filePath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) fail("open", path);
    DWORD written = 0;
    // One write of the whole line, flushed, so a power cut cannot leave half of it.
    if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) fail("write", path);
    if (written != bytes.size()) {
        SetLastError(ERROR_DISK_FULL);
        fail("write", path);
    }
    if (!FlushFileBuffers(file.get())) fail("write", path);
}

void Win32Files::remove(const std::string& path)
{
    if (!DeleteFileW(filePath(path).c_str())) fail("delete", path);
}

} // namespace kestrevane::win32
