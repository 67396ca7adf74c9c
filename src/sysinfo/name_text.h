// The computer's and the user's names, read through a buffer the system fills.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "sysinfo/system_query.h"

namespace kestrevane::sysinfo {

// Each name query gets a fresh buffer of this many blanks, with a size one less.
inline constexpr std::size_t nameBufferLength = 255;
inline constexpr std::uint32_t nameBufferSize = 254;

// The name in a buffer as the system left it: everything before its first NUL.
std::string nameTextFromBuffer(std::string buffer);

std::string computerNameText(SystemQuery& system);
std::string userNameText(SystemQuery& system);

} // namespace kestrevane::sysinfo
