// A fresh, empty directory for one test, removed with everything in it afterwards.
#pragma once

#include <string>

namespace kestrevane::win32::testing {

class TempDirectory {
public:
    // Fails the test loudly (throws) when the directory cannot be made.
    TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;
    ~TempDirectory();

    // UTF-8, without a trailing backslash.
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Creates every missing directory of a UTF-8 path, long or not; throws on failure.
void makeDirectories(const std::string& path);

// The wide path with the extended-length prefix, for set-up calls on long paths.
std::wstring extendedPath(const std::string& path);

} // namespace kestrevane::win32::testing
