// What the startup log needs of the file system: whole-file reads, appends, deletes.
#pragma once

#include <stdexcept>
#include <string>

namespace kestrevane::startup {

// A file operation that failed; the start-up cannot go on without it.
class FileError : public std::runtime_error {
public:
    // Refused for want of permission (as opposed to a lock, a full disk, ...): what a
    // folder the user may not change gives.
    enum class Cause { other, accessDenied };

    FileError(std::string operation, std::string path, std::string reason, Cause cause = Cause::other)
        : std::runtime_error(operation + " " + path + ": " + reason),
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

// Paths are UTF-8; file contents are raw bytes. Each call opens and closes the file.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // True when the file can be opened for reading; never throws.
    virtual bool canOpenForReading(const std::string& path) = 0;
    // The whole content. Throws FileError.
    virtual std::string readAll(const std::string& path) = 0;
    // Adds `bytes` at the end in one write, creating the file when needed. Throws FileError.
    virtual void append(const std::string& path, const std::string& bytes) = 0;
    // Throws FileError.
    virtual void remove(const std::string& path) = 0;
};

} // namespace kestrevane::startup
