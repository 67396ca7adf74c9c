// What the startup log needs of the file system: reads of a file's end, appends, deletes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "startup/failure.h"

namespace kestrevane::startup {

// The end of a file: its last bytes and where in the file they begin.
struct FileTail {
    std::string bytes;
    std::uint64_t offset = 0; // 0: the bytes are the whole file

    bool wholeFile() const { return offset == 0; }
};

// Paths are UTF-8; file contents are raw bytes. Each call opens and closes the file.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // True when the file can be opened for reading; never throws.
    virtual bool canOpenForReading(const std::string& path) = 0;
    // The last `maxBytes` bytes, or the whole file when it is shorter: a log of any size
    // costs the same to read. Throws FileError.
    virtual FileTail readTail(const std::string& path, std::size_t maxBytes) = 0;
    // Adds `bytes` at the end in one write, creating the file when needed; a write that
    // fails midway is cut back, so the file is as before. Throws FileError.
    virtual void append(const std::string& path, const std::string& bytes) = 0;
    // Has the system put what was appended on the disk now. Throws FileError.
    virtual void flush(const std::string& path) = 0;
    // Throws FileError.
    virtual void remove(const std::string& path) = 0;
};

} // namespace kestrevane::startup
