// Absolute, canonical paths, as the extended-length form and lock names need them.
#pragma once

#include <string>

namespace kestrevane::win32 {

// The path made absolute, with "." and ".." resolved; the path itself when that fails.
std::wstring fullPathName(const std::wstring& path);

} // namespace kestrevane::win32
