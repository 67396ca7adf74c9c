// The Quick Info message: boot time and Windows version, and the title of its box.
#pragma once

#include <string>
#include <string_view>

namespace kestrevane::sysinfo {

inline constexpr std::string_view quickInfoTitle = "Kestrevane QuickInfo";

// The report from the uptime and version texts, each stripped of blanks at both ends
// (line breaks stay, so a successful version text keeps its closing CR LF).
std::string quickInfoText(const std::string& uptime, const std::string& version);

} // namespace kestrevane::sysinfo
