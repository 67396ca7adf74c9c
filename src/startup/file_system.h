// What the startup log needs of the file system: reads of a file's end, appends, deletes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "startup/error.h"

namespace kestrevane::startup {

// A file operation that failed; the start-up cannot go on without it.
class FileError : public Error {
public:
    // Refused for want of permission (as opposed to a lock, a full disk, ...): what a
    // folder the user may not change gives.
    enum class Cause { other, accessDenied };

    FileError(std::string operation, std::string path, std::string reason, Cause cause = Cause::other)
        : Error(operation + " " + path + ": " + reason),
          operation_(std::move(operation)), path_(std::move(path)), reason_(std::move(reason)), cause_(cause)
    {
    }

    // "create", "open", "read", "write", "delete" ...
    const std::string& operation() const { return operation_; }
    const std::string& path() const { return path_; }
    // The system's own description of the failure.
    const std::string& reason() const { return reason_; }
    Cause cause() const { return cause_; }

private:
    std::string operation_;
    std::string path_;
    std::string reason_;
    Cause cause_;
};

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
