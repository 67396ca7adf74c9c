// A system whose answers the test sets, recording which queries were made and with what.
#pragma once

#include <string>
#include <vector>

#include "sysinfo/system_query.h"

namespace kestrevane::sysinfo::testing {

// A query result with the service-pack text padded with NULs to its 128-byte field.
inline VersionQueryResult versionResult(std::int32_t returned, std::int32_t major, std::int32_t minor,
                                        std::int32_t build, std::int32_t platform, const std::string& servicePack)
{
    VersionQueryResult result;
    result.returned = returned;
    result.record.majorVersion = major;
    result.record.minorVersion = minor;
    result.record.buildNumber = build;
    result.record.platformId = platform;
    result.record.servicePack = servicePack + std::string(128 - servicePack.size(), '\0');
    return result;
}

class FakeSystemQuery : public SystemQuery {
public:
    struct NameCall {
        std::string query, buffer;
        std::uint32_t size;
    };

    std::uint64_t milliseconds = 0;
    VersionQueryResult version;
    // Written at the start of the buffer, as the system writes a name and its NUL.
    std::string computerName, userName;
    std::vector<NameCall> nameCalls;

    std::uint64_t millisecondsSinceStart() override { return milliseconds; }
    VersionQueryResult queryVersion() override { return version; }
    std::string queryComputerName(const std::string& buffer, std::uint32_t size) override
    {
        return fill("computer", computerName, buffer, size);
    }
    std::string queryUserName(const std::string& buffer, std::uint32_t size) override
    {
        return fill("user", userName, buffer, size);
    }

private:
    std::string fill(const char* query, const std::string& written, const std::string& buffer, std::uint32_t size)
    {
        nameCalls.push_back({query, buffer, size});
        std::string filled = buffer;
        filled.replace(0, written.size(), written);
        return filled;
    }
};

} // namespace kestrevane::sysinfo::testing
