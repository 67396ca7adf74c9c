// The startup log's files on the wide Win32 file API, the lock between starts on one log,
// and the paths they need.
#pragma once

#include <windows.h>

#include <string>

#include "startup/file_system.h"
#include "startup/startup_log.h"

namespace kestrevane::win32 {

// A file handle that is closed when it goes out of scope.
class FileHandle {
public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle()
    {
        if (valid()) CloseHandle(h_);
    }
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

// Where the running program lives, UTF-8, without a trailing backslash: the startup log
// is kept beside it.
std::string executableDirectory();

// The path made absolute, with "." and ".." resolved, as the extended-length form and
// lock names need it; the path itself when that fails.
std::wstring fullPathName(const std::wstring& path);

// The path with each short (8.3) name in it spelt out; the path itself when that fails,
// as it does for a path that does not exist.
std::wstring longPathName(const std::wstring& path);

// The startup log's file operations.
class Win32Files final : public startup::FileSystem {
public:
    bool canOpenForReading(const std::string& path) override;
    startup::FileTail readTail(const std::string& path, std::size_t maxBytes) override;
    void append(const std::string& path, const std::string& bytes) override;
    void flush(const std::string& path) override;
    void remove(const std::string& path) override;

private:
    // The file deleted last, until the next append to it.
    std::string removed_;
};

// The system's text for an error code, UTF-8, without the closing line end.
std::string systemErrorText(unsigned long code);

// The lock between starts of the program on one log: a named mutex per log path.
class Win32LogLock final : public startup::LogLock {
public:
    Win32LogLock() = default;
    Win32LogLock(const Win32LogLock&) = delete;
    Win32LogLock& operator=(const Win32LogLock&) = delete;
    ~Win32LogLock() override;

    void acquire(const std::string& logPath) override;
    void release() override;

private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};

// The mutex name for a log: the same for every spelling of one path.
std::wstring logLockName(const std::string& logPath);

} // namespace kestrevane::win32
