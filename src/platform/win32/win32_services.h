// The system's own services behind the core's interfaces, as the program uses them.
#pragma once

#include <windows.h>

#include "platform/win32/program.h"
#include "platform/win32/win32_files.h"
#include "startup/date_time.h"
#include "startup/startup_log.h"
#include "sysinfo/system_info.h"
#include "ui/layout.h"

namespace kestrevane::win32 {

// The system clock in local time.
class Win32Clock final : public startup::Clock {
public:
    startup::LocalDateTime now() override;
};

// The user's date and time settings through the system's own formatter and parser.
class Win32DateLocale final : public startup::DateLocale {
public:
    // Tests pass other locales; the program uses the user's.
    explicit Win32DateLocale(LCID locale = LOCALE_USER_DEFAULT) : locale_(locale) {}

    std::string shortDate(const startup::CivilDate& date) override;
    std::string longDate(const startup::CivilDate& date) override;
    std::string timeSeparator() override;
    std::optional<startup::CivilDate> parseDate(const std::string& text) override;

private:
    std::string format(const startup::CivilDate& date, DWORD flags);
    LCID locale_;
};

// The startup log's text: the system's ANSI code page.
class Win32TextCodec final : public startup::TextCodec {
public:
    std::string encode(const std::string& utf8) override;
    std::string decode(const std::string& bytes) override;
};

// The raw system values behind the probes: tick count, version record, names.
class Win32SystemQuery final : public sysinfo::SystemQuery {
public:
    std::uint64_t millisecondsSinceStart() override;
    sysinfo::VersionQueryResult queryVersion() override;
    std::string queryComputerName(const std::string& buffer, std::uint32_t size) override;
    std::string queryUserName(const std::string& buffer, std::uint32_t size) override;
};

// The user's display settings as the windows need them.
class Win32Appearance final : public ui::Appearance {
public:
    bool highContrast() override;
};

struct Win32Services {
    Win32Clock clock;
    Win32DateLocale locale;
    Win32Files files;
    Win32TextCodec codec;
    Win32SystemQuery system;
    Win32LogLock lock;
    Win32Appearance appearance;

    ProgramServices program() { return {clock, locale, files, codec, system, lock, appearance}; }
};

} // namespace kestrevane::win32
