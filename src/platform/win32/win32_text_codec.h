// The startup log's text: the system's ANSI code page.
#pragma once

#include "startup/startup_log.h"

namespace kestrevane::win32 {

class Win32TextCodec final : public startup::TextCodec {
public:
    std::string encode(const std::string& utf8) override;
    std::string decode(const std::string& bytes) override;
};

} // namespace kestrevane::win32
