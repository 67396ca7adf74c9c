// Milliseconds since the system started.
#pragma once

#include <cstdint>

namespace kestrevane::win32 {

// GetTickCount64 where the system has it (Vista on); before that GetTickCount, which
// wraps after 49.7 days.
std::uint64_t tickCount64();

} // namespace kestrevane::win32
