// Text at the system boundary: UTF-8 inside, UTF-16 or the ANSI code page for Windows.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kestrevane::win32 {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);
// Characters the code page lacks become its default character.
std::string utf8ToAnsi(std::string_view utf8, UINT codePage = CP_ACP);
// Bytes the code page does not define become U+FFFD.
std::string ansiToUtf8(std::string_view bytes, UINT codePage = CP_ACP);

} // namespace kestrevane::win32
