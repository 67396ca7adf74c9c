// The raw values the system probes are composed from; the platform supplies them.
#pragma once

#include <cstdint>
#include <string>

namespace kestrevane::sysinfo {

// The ANSI version record as the version query fills it.
struct VersionRecord {
    std::int32_t majorVersion = 0;
    std::int32_t minorVersion = 0;
    std::int32_t buildNumber = 0;
    std::int32_t platformId = 0;
    // The 128 bytes of the service-pack field, converted to UTF-8 text, NULs included.
    std::string servicePack;
};

struct VersionQueryResult {
    // What the query returned: zero means it failed and `record` holds the cleared values.
    std::int32_t returned = 0;
    VersionRecord record;
};

class SystemQuery {
public:
    virtual ~SystemQuery() = default;
    // Milliseconds since the system started, 64 bits wide so it does not wrap after 49.7 days.
    virtual std::uint64_t millisecondsSinceStart() = 0;
    // Clears the record, sets its size to 148 and asks the system.
    virtual VersionQueryResult queryVersion() = 0;
    // Give `buffer` (UTF-8) with `size` to the computer-name query and return the buffer as
    // the system left it, converted back to UTF-8 (NULs and trailing blanks included).
    // Names are read in Unicode, so any name comes back as it is.
    virtual std::string queryComputerName(const std::string& buffer, std::uint32_t size) = 0;
    // The same for the user-name query.
    virtual std::string queryUserName(const std::string& buffer, std::uint32_t size) = 0;
};

} // namespace kestrevane::sysinfo
