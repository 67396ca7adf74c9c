// Where the running program lives: the startup log is kept beside it.
#pragma once

#include <string>

namespace kestrevane::win32 {

// UTF-8, without a trailing backslash.
std::string executableDirectory();

} // namespace kestrevane::win32
