// The raw system values behind the probes: tick count, version record, names.
#pragma once

#include "sysinfo/system_info.h"

namespace kestrevane::win32 {

class Win32SystemQuery final : public sysinfo::SystemQuery {
public:
    std::uint64_t millisecondsSinceStart() override;
    sysinfo::VersionQueryResult queryVersion() override;
    std::string queryComputerName(const std::string& buffer, std::uint32_t size) override;
    std::string queryUserName(const std::string& buffer, std::uint32_t size) override;
};

} // namespace kestrevane::win32
