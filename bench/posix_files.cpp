#include "posix_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace kestrevane::bench {

namespace {

[[noreturn]] void fail(const char* operation, const std::string& path)
{
    throw startup::FileError(operation, path, std::strerror(errno));
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (fd_ >= 0) close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

bool PosixFiles::canOpenForReading(const std::string& path)
{
    return Descriptor(open(path.c_str(), O_RDONLY)).get() >= 0;
}

startup::FileTail PosixFiles::readTail(const std::string& path, std::size_t maxBytes)
{
    const Descriptor file(open(path.c_str(), O_RDONLY));
    if (file.get() < 0) fail("open", path);
    struct stat info {};
    if (fstat(file.get(), &info) != 0) fail("read", path);
    const auto size = static_cast<std::uint64_t>(info.st_size);
    startup::FileTail tail;
    tail.offset = size > maxBytes ? size - maxBytes : 0;
    tail.bytes.resize(static_cast<std::size_t>(size - tail.offset));
    std::size_t filled = 0;
    while (filled < tail.bytes.size()) {
        const ssize_t got = pread(file.get(), tail.bytes.data() + filled, tail.bytes.size() - filled,
                                  static_cast<off_t>(tail.offset + filled));
        if (got < 0) fail("read", path);
        if (got == 0) break; // shrunk meanwhile: what is there is the tail
        filled += static_cast<std::size_t>(got);
    }
    tail.bytes.resize(filled);
    return tail;
}

void PosixFiles::append(const std::string& path, const std::string& bytes)
{
    const Descriptor file(open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0644));
    if (file.get() < 0) fail("open", path);
    if (write(file.get(), bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) fail("write", path);
}

void PosixFiles::flush(const std::string& path)
{
    if (!flush_) return;
    const Descriptor file(open(path.c_str(), O_WRONLY));
    if (file.get() < 0 || fdatasync(file.get()) != 0) fail("flush", path);
}

void PosixFiles::remove(const std::string& path)
{
    if (unlink(path.c_str()) != 0) fail("delete", path);
}

} // namespace kestrevane::bench
