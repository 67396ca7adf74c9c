// In-memory stand-ins for the clock, the locale, the file system and the code page.
#pragma once

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>
#include <optional>
#include <string>

#include "startup/date_time.h"
#include "startup/file_system.h"
#include "startup/startup_log.h"

namespace kestrevane::testing {

using startup::CivilDate;
using startup::LocalDateTime;

// Hands out the queued readings in order, then repeats the last one.
class FakeClock : public startup::Clock {
public:
    explicit FakeClock(LocalDateTime reading) { readings.push_back(reading); }
    LocalDateTime now() override
    {
        ++calls;
        LocalDateTime r = readings.front();
        if (readings.size() > 1) readings.pop_front();
        return r;
    }
    std::deque<LocalDateTime> readings;
    int calls = 0;
};

// A locale writing dates as M/D/YYYY (or D.M.YYYY) and reading them back.
class FakeLocale : public startup::DateLocale {
public:
    bool germanOrder = false;
    bool canParse = true; // false: the parser cannot read even its own short date
    std::string separator = ":";

    std::string shortDate(const CivilDate& d) override
    {
        char text[32];
        if (germanOrder)
            std::snprintf(text, sizeof text, "%02d.%02d.%04d", d.day, d.month, d.year);
        else
            std::snprintf(text, sizeof text, "%d/%d/%d", d.month, d.day, d.year);
        return text;
    }
    std::string longDate(const CivilDate& d) override { return "long " + shortDate(d); }
    std::string timeSeparator() override { return separator; }
    std::optional<CivilDate> parseDate(const std::string& text) override
    {
        ++parses;
        if (!canParse) return std::nullopt;
        CivilDate d;
        char tail = 0;
        const int n = germanOrder ? std::sscanf(text.c_str(), "%d.%d.%d%c", &d.day, &d.month, &d.year, &tail)
                                  : std::sscanf(text.c_str(), "%d/%d/%d%c", &d.month, &d.day, &d.year, &tail);
        if (n != 3 || d.month < 1 || d.month > 12 || d.day < 1 || d.day > 31) return std::nullopt;
        return d;
    }
    int parses = 0;
};

// Stores files in memory; any operation can be made to fail.
class MemoryFileSystem : public startup::FileSystem {
public:
    std::map<std::string, std::string> files;
    bool failRead = false, failAppend = false, failRemove = false, failFlush = false, unreadable = false;
    int appends = 0;
    int flushes = 0;
    int reads = 0;
    std::size_t largestRead = 0; // the most bytes any read asked for

    bool canOpenForReading(const std::string& path) override
    {
        return !unreadable && files.count(path) != 0;
    }
    startup::FileTail readTail(const std::string& path, std::size_t maxBytes) override
    {
        const auto it = files.find(path);
        if (failRead || it == files.end()) throw startup::FileError("read", path, "cannot read");
        ++reads;
        largestRead = std::max(largestRead, maxBytes);
        const std::string& all = it->second;
        const std::size_t offset = all.size() > maxBytes ? all.size() - maxBytes : 0;
        return {all.substr(offset), offset};
    }
    void append(const std::string& path, const std::string& bytes) override
    {
        if (failAppend) throw startup::FileError("write", path, "Access is denied");
        ++appends;
        files[path] += bytes;
    }
    void flush(const std::string& path) override
    {
        if (failFlush) throw startup::FileError("flush", path, "The device is not ready");
        ++flushes;
    }
    void remove(const std::string& path) override
    {
        if (failRemove) throw startup::FileError("delete", path, "The file is in use");
        files.erase(path);
    }
};

// Stores UTF-8 as it is.
class IdentityCodec : public startup::TextCodec {
public:
    std::string encode(const std::string& utf8) override { return utf8; }
    std::string decode(const std::string& bytes) override { return bytes; }
};

} // namespace kestrevane::testing
