// The startup log's file operations on POSIX calls, shaped like the Win32 ones: reads
// of the file's end, appends in one write, and flushes to disk when made to.
#pragma once

#include "startup/file_system.h"

namespace kestrevane::bench {

class PosixFiles final : public startup::FileSystem {
public:
    // `flush`: each flush waits for the disk, as the program's own do; otherwise it returns at once.
    explicit PosixFiles(bool flush) : flush_(flush) {}

    bool canOpenForReading(const std::string& path) override;
    startup::FileTail readTail(const std::string& path, std::size_t maxBytes) override;
    void append(const std::string& path, const std::string& bytes) override;
    void flush(const std::string& path) override;
    void remove(const std::string& path) override;

private:
    bool flush_;
};

} // namespace kestrevane::bench
