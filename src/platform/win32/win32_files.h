// The startup log's file operations on the wide Win32 file API.
#pragma once

#include <string>

#include "startup/file_system.h"

namespace kestrevane::win32 {

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

} // namespace kestrevane::win32
