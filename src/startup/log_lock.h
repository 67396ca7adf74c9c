// Keeps other starts of the program away from the log while one brings it up to date.
#pragma once

#include <string>

namespace kestrevane::startup {

// Several starts at the same moment (two autostart entries, a double click) must each
// add exactly one record with their own count, so reading, deciding and appending
// happen under this lock. Best effort: a lock that cannot be had must not stop a start.
class LogLock {
public:
    virtual ~LogLock() = default;
    // Waits until no other start holds the lock for this log. Never throws.
    virtual void acquire(const std::string& logPath) = 0;
    virtual void release() = 0;
};

} // namespace kestrevane::startup
