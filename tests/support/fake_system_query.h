// A system whose answers the test sets, recording which queries were made and with what.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sysinfo/system_info.h"

namespace kestrevane::testing {

// A query result with the service-pack text padded with NULs to its 128-byte field.
inline sysinfo::VersionQueryResult versionResult(std::int32_t returned, std::int32_t major, std::int32_t minor,
                                                 std::int32_t build, std::int32_t platform,
                                                 const std::string& servicePack)
{
    sysinfo::VersionQueryResult result;
    result.returned = returned;
    result.record.majorVersion = major;
    result.record.minorVersion = minor;
    result.record.buildNumber = build;
    result.record.platformId = platform;
    result.record.servicePack = servicePack + std::string(128 - servicePack.size(), '\0');
    return result;
}

class FakeSystemQuery : public sysinfo::SystemQuery {
public:
    struct NameCall {
        std::string query, buffer;
        std::uint32_t size;
    };

    std::uint64_t milliseconds = 0;
    sysinfo::VersionQueryResult version;
    // Written at the start of the buffer, as the system writes a name: give its NUL too.
    std::string computerName, userName;
    // Every query in order ("uptime", "version", "computer", "user"): who asks what, when.
    std::vector<std::string> asked;
    std::vector<NameCall> nameCalls;

    std::uint64_t millisecondsSinceStart() override
    {
        asked.push_back("uptime");
        return milliseconds;
    }
    sysinfo::VersionQueryResult queryVersion() override
    {
        asked.push_back("version");
        return version;
    }
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
        asked.push_back(query);
        nameCalls.push_back({query, buffer, size});
        std::string filled = buffer;
        filled.replace(0, written.size(), written);
        return filled;
    }
};

} // namespace kestrevane::testing
