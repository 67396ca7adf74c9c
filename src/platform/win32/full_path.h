// Absolute, canonical paths, as the extended-length form and lock names need them.
#pragma once

#include <string>

namespace kestrevane::win32 {

// The path made absolute, with "." and ".." resolved; the path itself when that fails.
std::wstring fullPathName(const std::wstring& path);

// The path with each short (8.3) name in it spelt out; the path itself when that fails,
// as it does for a path that does not exist.
std::wstring longPathName(const std::wstring& path);

} // namespace kestrevane::win32
