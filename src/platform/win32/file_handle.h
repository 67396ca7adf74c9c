// A file handle that is closed when it goes out of scope.
#pragma once

#include <windows.h>

namespace kestrevane::win32 {

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

} // namespace kestrevane::win32
