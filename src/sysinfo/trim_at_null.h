// Cuts a text the system filled at its first NUL, the way the probes read system buffers.
#pragma once

#include <string>

namespace kestrevane::sysinfo {

// Cuts `s` before its first NUL among its first 255 characters (UTF-8 sequences, a byte
// that begins none counting as one) and returns the result;
// `s` itself holds the same text afterwards. Without a NUL there `s` stays as it is, even
// when a NUL follows later or the text is shorter than 255 characters.
std::string trimAtNull(std::string& s);

} // namespace kestrevane::sysinfo
