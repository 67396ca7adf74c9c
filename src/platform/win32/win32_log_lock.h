// The lock between starts of the program on one log: a named mutex per log path.
#pragma once

#include <windows.h>

#include "startup/startup_log.h"

namespace kestrevane::win32 {

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
