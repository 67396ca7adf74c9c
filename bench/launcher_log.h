// The log the launcher puts beside a program before its starts: written once, then
// after each start checked for exactly one new record and cut back to its first size,
// so a 90 MB log is not rewritten for every start.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace kestrevane::bench {

struct LogContent {
    enum class Kind { none, records, sparse };
    Kind kind = Kind::none;
    long records = 0; // today's records; for `sparse`, those after the zeros

    // "none", "N" (N records of today) or "sparse:N" (4 GiB of sparse zeros, CR LF,
    // then N records of today). Throws std::invalid_argument.
    static LogContent parse(const std::wstring& text);
    std::string describe() const;
};

class LauncherLog {
public:
    LauncherLog(const std::wstring& directory, LogContent content);

    LogContent content() const { return content_; }
    std::uint64_t size() const { return size_; }
    // Writes the log anew. Throws std::runtime_error.
    void write();
    // Empty when the start appended exactly one record of today counting one more than
    // the log held; otherwise what was wrong. Either way the log is its first size again.
    std::wstring checkAndCutBack();

private:
    std::wstring path_;
    LogContent content_;
    std::uint64_t size_ = 0;
};

// Today's short date in the ANSI code page, as the programs write it.
std::string todayDate();

} // namespace kestrevane::bench
