// The Windows release name with its service pack, and the version number line.
#pragma once

#include <string>

#include "sysinfo/system_query.h"

namespace kestrevane::sysinfo {

// Two lines closed by CR LF after a successful query; after a failed one the single line
// "Unable to get version information. GetVersionEx returned " and the value returned.
std::string windowsVersionTextFrom(const VersionQueryResult& result);

std::string windowsVersionText(SystemQuery& system);

} // namespace kestrevane::sysinfo
