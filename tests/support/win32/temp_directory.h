// A fresh, empty folder below the temp folder for one test, removed with everything in
// it afterwards. Win32 calls only: the end-to-end tests, which link none of the product's
// Win32 layer, use it as the tests of that layer do.
#pragma once

#include <string>

namespace kestrevane::testing {

class TempDirectory {
public:
    enum class OnFailure {
        remove,
        keep, // a failed test leaves its folder, named on stderr, for a look at what is in it
    };

    // `prefix` starts the folder's name, so a leftover tells which tests made it. Throws
    // std::runtime_error, which fails the test with the reason, when no folder can be made.
    explicit TempDirectory(std::wstring prefix = L"kestrevane-test-", OnFailure onFailure = OnFailure::remove);
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;
    ~TempDirectory();

    // Whole and with long names, without a trailing backslash.
    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
    OnFailure onFailure_;
};

} // namespace kestrevane::testing
