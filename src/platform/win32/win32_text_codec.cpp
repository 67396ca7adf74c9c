// The startup log's bytes in the ANSI code page.
#include "platform/win32/win32_text_codec.h"

#include "platform/win32/text_convert.h"

namespace kestrevane::win32 {

std::string Win32TextCodec::encode(const std::string& utf8) { return utf8ToAnsi(utf8); }
std::string Win32TextCodec::decode(const std::string& bytes) { return ansiToUtf8(bytes); }

} // namespace kestrevane::win32
