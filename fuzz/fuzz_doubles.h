// Stand-ins the test fakes lack: a year-first locale, a lossy code page, the system
// parser's guarantees around any locale, and a lock that every file operation must hold.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "fuzz_check.h"
#include "startup/date_time.h"
#include "startup/file_system.h"
#include "startup/startup_log.h"

namespace kestrevane::fuzz {

using startup::CivilDate;

// Year, month and day joined by fixed texts: "2026-12-06", or "2026年12月6日" in UTF-8.
class YearFirstLocale : public startup::DateLocale {
public:
    YearFirstLocale(std::string afterYear, std::string afterMonth, std::string afterDay, bool padded)
        : afterYear_(std::move(afterYear)), afterMonth_(std::move(afterMonth)),
          afterDay_(std::move(afterDay)), padded_(padded)
    {
    }

    std::string shortDate(const CivilDate& d) override
    {
        char text[64];
        std::snprintf(text, sizeof text, padded_ ? "%04d%s%02d%s%02d%s" : "%04d%s%d%s%d%s", d.year,
                      afterYear_.c_str(), d.month, afterMonth_.c_str(), d.day, afterDay_.c_str());
        return text;
    }
    std::string longDate(const CivilDate& d) override { return shortDate(d); }
    std::string timeSeparator() override { return ":"; }
    std::optional<CivilDate> parseDate(const std::string& text) override
    {
        std::size_t at = 0;
        CivilDate d;
        if (!number(text, at, d.year) || !word(text, at, afterYear_) || !number(text, at, d.month) ||
            !word(text, at, afterMonth_) || !number(text, at, d.day) || !word(text, at, afterDay_) ||
            at != text.size())
            return std::nullopt;
        return d;
    }

private:
    static bool number(const std::string& text, std::size_t& at, int& value)
    {
        const std::size_t start = at;
        value = 0;
        while (at < text.size() && at - start < 5 && text[at] >= '0' && text[at] <= '9')
            value = value * 10 + (text[at++] - '0');
        return at > start;
    }
    static bool word(const std::string& text, std::size_t& at, const std::string& expected)
    {
        if (text.compare(at, expected.size(), expected) != 0) return false;
        at += expected.size();
        return true;
    }

    std::string afterYear_, afterMonth_, afterDay_;
    bool padded_;
};

// The system's date parser stops at no NUL and yields only real calendar dates; a test
// locale that reads "2/31/2026" would make the decision look wrong where it is not.
class SystemParser : public startup::DateLocale {
public:
    explicit SystemParser(startup::DateLocale& locale) : locale_(locale) {}
    std::string shortDate(const CivilDate& d) override { return locale_.shortDate(d); }
    std::string longDate(const CivilDate& d) override { return locale_.longDate(d); }
    std::string timeSeparator() override { return locale_.timeSeparator(); }
    std::optional<CivilDate> parseDate(const std::string& text) override
    {
        if (text.find('\0') != std::string::npos) return std::nullopt;
        const std::optional<CivilDate> d = locale_.parseDate(text);
        if (!d || d->year < 100 || d->year > 9999 || d->month < 1 || d->month > 12 || d->day < 1 ||
            d->day > daysInMonth(d->year, d->month))
            return std::nullopt;
        return d;
    }

    static int daysInMonth(int year, int month)
    {
        static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        return month == 2 && leap ? 29 : days[month - 1];
    }

private:
    startup::DateLocale& locale_;
};

// ISO 8859-1: characters above U+00FF, and broken UTF-8, are stored as '?'.
class Latin1Codec : public startup::TextCodec {
public:
    std::string encode(const std::string& utf8) override
    {
        std::string out;
        for (std::size_t i = 0; i < utf8.size();) {
            const auto lead = static_cast<unsigned char>(utf8[i]);
            const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            if (length == 2 && lead <= 0xC3 && i + 1 < utf8.size())
                out += static_cast<char>(((lead & 0x03) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
            else
                out += lead < 0x80 ? static_cast<char>(lead) : '?';
            i += length;
        }
        return out;
    }
    std::string decode(const std::string& bytes) override
    {
        std::string out;
        for (const char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            if (b < 0x80) {
                out += c;
            } else {
                out += static_cast<char>(0xC0 | (b >> 6));
                out += static_cast<char>(0x80 | (b & 0x3F));
            }
        }
        return out;
    }
};

// Other starts would otherwise read, decide and append in between.
class CheckedLock : public startup::LogLock {
public:
    void acquire(const std::string& logPath) override
    {
        require(!held, "the lock is not taken twice");
        held = true;
        path = logPath;
        ++acquires;
    }
    void release() override
    {
        require(held, "only a held lock is released");
        held = false;
    }
    bool held = false;
    int acquires = 0;
    std::string path;
};

class LockedFiles : public startup::FileSystem {
public:
    LockedFiles(startup::FileSystem& files, CheckedLock& lock) : files_(files), lock_(lock) {}
    bool canOpenForReading(const std::string& path) override { return check(path).canOpenForReading(path); }
    startup::FileTail readTail(const std::string& path, std::size_t maxBytes) override
    {
        return check(path).readTail(path, maxBytes);
    }
    void append(const std::string& path, const std::string& bytes) override { check(path).append(path, bytes); }
    void flush(const std::string& path) override { check(path).flush(path); }
    void remove(const std::string& path) override { check(path).remove(path); }

private:
    startup::FileSystem& check(const std::string& path)
    {
        require(lock_.held && lock_.path == path, "the log is touched only under its lock");
        return files_;
    }
    startup::FileSystem& files_;
    CheckedLock& lock_;
};

} // namespace kestrevane::fuzz
